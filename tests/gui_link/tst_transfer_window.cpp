// Read and Write from the real window against the virtual radio on a pseudo-terminal: the progress
// window, Cancel, every failure's message, and what the grid, the image and the radio hold afterwards.

#include "tests/gui/GuiFixture.h"
#include "tests/link/LinkTestSupport.h"

#include "app/ChildFrame.h"
#include "config/IniFile.h"
#include "dialogs/LanguageDlg.h"
#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "config/StringTable.h"
#include "config/UserSettings.h"
#include "editor/ChannelGrid.h"
#include "editor/MSFlexGrid.h"
#include "editor/ProgramView.h"
#include "image/BackupStore.h"
#include "image/DataFile.h"
#include "image/ProgramDoc.h"
#include "link/ClonePlan.h"
#include "link/PortName.h"
#include "link/PortSettingDlg.h"
#include "link/ProcessDlg.h"
#include "link/SerialPort.h"
#include "service/ServiceAccess.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

using namespace LinkTest;

namespace {

const QString kCommunicationError = QStringLiteral("Communication Error");
const QString kCommunicationErrorZh = QStringLiteral("通信出错");
const QString kPortOpenFailed = QStringLiteral(
    "Could not Open the Port,Please check whether the Port are occupied or the device are ok");
const QString kPortOpenFailedZh = QStringLiteral("无法打开端口,请检查端口是否被占用或设备是否正常");
const QString kPartial = QStringLiteral(
    "\nThe radio may now hold part of the new data. Write it again before using the radio.");
const QString kPartialZh = QStringLiteral("\n电台中可能只有部分新数据, 请重新写入后再使用电台。");

// Three channels the radio holds, typed through the grid's own rules into a radio image.
RadioMemory::Bytes RadioWithChannels(const CRadioImage& start, BandLimits limits)
{
    CChannelGrid grid(false);
    grid.SetBandLimits(limits);
    grid.LoadImage(start);
    for (const auto& [row, text] : { std::pair { 1, "150.125" }, { 2, "140.5" }, { 16, "159.99375" } })
        grid.Commit(row, ChannelCodec::kRxFrequency, QString::fromLatin1(text), CChannelGrid::Trigger::Enter);
    CRadioImage image = start;
    grid.StoreGrid(image);
    RadioMemory::Bytes bytes = BytesOf(image);
    // Alignment areas unlike the program's own, so a write that must leave them alone shows it.
    for (int a = 0x300; a < 0x320; ++a)
        bytes[std::size_t(a)] = std::uint8_t(a);
    for (int a = 0x3E0; a < 0x400; ++a)
        bytes[std::size_t(a)] = std::uint8_t(0x40 + a);
    return bytes;
}

QByteArray Bytes(const CRadioImage& image)
{
    return QByteArray(reinterpret_cast<const char*>(image.Data().data()), qsizetype(image.Data().size()));
}

QByteArray Bytes(const RadioMemory::Bytes& memory)
{
    return QByteArray(reinterpret_cast<const char*>(memory.data()), qsizetype(memory.size()));
}

bool PortIsFree(const QString& device)
{
    CSerialPort port;
    return port.Open(device);
}

} // namespace

class TestTransferWindow : public QObject {
    Q_OBJECT

private:
    // The program with COM1 standing for a virtual radio (Program.ini's [Ports] or the run's option).
    struct Bench {
        std::unique_ptr<CGuiFixture> fixture;
        std::unique_ptr<CVirtualRadio> radio;

        explicit Bench(const QString& language = QStringLiteral("English"), const QStringList& faults = {},
            bool byOption = false)
            : fixture(std::make_unique<CGuiFixture>(language))
            , radio(StartRadio(faults))
        {
            QStringList arguments;
            if (byOption)
                arguments << QStringLiteral("--virtual-radio")
                          << QStringLiteral("COM1=") + LinkTest::Device(*radio);
            else
                fixture->SetIni(QStringLiteral("Ports"), QStringLiteral("COM1"), LinkTest::Device(*radio));
            if (!fixture->Start(arguments))
                qFatal("the program did not start");
        }
        ~Bench()
        {
            fixture.reset();
            CPortName::ClearOverrides();
            CPortName::SetCurrent(QStringLiteral("COM1"));
        }

        CMainFrame* Frame() const { return fixture->App().MainFrame(); }
        CProgramView* View() const { return fixture->View(); }
        CProcessDlg* Dialog() const { return View()->findChild<CProcessDlg*>(); }
        QString Device() const { return LinkTest::Device(*radio); }
        void Command(int id) const
        {
            QAction* action = Frame()->FindCommand(id);
            QVERIFY2(action && action->isEnabled(), qPrintable(QString::number(id)));
            action->trigger();
        }
        // Read or Write chosen and OK pressed; returns when the progress window has gone.
        void Transfer(bool write) const
        {
            Command(write ? CMainFrame::kWrite : CMainFrame::kRead);
            QVERIFY(Dialog() && Dialog()->isVisible());
            QTest::mouseClick(Dialog()->OkButton(), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!Dialog()->isVisible(), 20000);
        }
        QStringList Messages() const
        {
            QStringList texts;
            for (const CGuiFixture::Shown& shown : fixture->messages)
                texts << shown.text;
            return texts;
        }
        QList<QStringList> GridTexts() const
        {
            QList<QStringList> rows;
            for (int row = 1; row <= 16; ++row)
                rows << fixture->RowTexts(row);
            return rows;
        }
        // The channels a grid shows for memory, by the program's own decoding.
        QList<QStringList> ChannelsOf(const RadioMemory::Bytes& memory) const
        {
            CRadioImage image;
            image.CopyIn(0, memory);
            CChannelGrid grid(View()->Cells().IsChinese());
            grid.LoadImage(image);
            QList<QStringList> rows;
            for (int row = 1; row <= 16; ++row) {
                QStringList texts;
                for (int col = 1; col < 9; ++col)
                    texts << grid.Text(row, col);
                rows << texts;
            }
            return rows;
        }
        BandLimits Limits() const { return { View()->m_nLowerLimit, View()->m_nUpperLimit }; }
    };

    // Calls onBlock with the bar's position after each block, from the event handling between blocks.
    static void OnEachBlock(CProcessDlg* dialog, QObject* context, const std::function<void(int)>& onBlock)
    {
        QObject::connect(
            dialog->Progress(), &QProgressBar::valueChanged, context,
            [onBlock](int position) {
                if (position > 0)
                    onBlock(position);
            },
            Qt::QueuedConnection);
    }

private slots:
    void cleanup() { CServiceAccess::ResetForTest(); }

    void readFillsTheGrid_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("byShortcut");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("English, Ctrl+R")
            << "English" << true << "Read Data" << QStringList { "OK", "Cancel" };
        QTest::newRow("Chinese, menu") << "Chinese" << false << "读数据" << QStringList { "确定", "取消" };
    }

    // 64 blocks with the percentage running 1%, 3%, 4% ... 100%; then the window goes, the grid shows
    // the radio's channels, the image holds the radio's bytes 0-1018 and the document is no longer new.
    void readFillsTheGrid()
    {
        QFETCH(QString, language);
        QFETCH(bool, byShortcut);
        QFETCH(QString, title);
        QFETCH(QStringList, buttons);
        Bench bench(language);
        CProgramDoc* doc = bench.fixture->Doc();
        QVERIFY(CProgramDoc::IsNewDocument());
        const CRadioImage before = doc->m_Image;
        const RadioMemory::Bytes memory = RadioWithChannels(before, bench.Limits());
        bench.radio->SetMemory(memory);

        if (byShortcut)
            QTest::keyClick(bench.Frame(), Qt::Key_R, Qt::ControlModifier);
        else
            bench.Command(CMainFrame::kRead);
        CProcessDlg* dialog = bench.Dialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), title);
        QCOMPARE((QStringList { dialog->OkButton()->text(), dialog->CancelButton()->text() }), buttons);
        QCOMPARE(dialog->Percent()->text(), QStringLiteral("0"));
        QCOMPARE(dialog->Progress()->maximum(), 64);
        QStringList percentages;
        OnEachBlock(dialog, this, [&](int) { percentages << dialog->Percent()->text(); });
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        QVERIFY(!dialog->OkButton()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 20000);

        QStringList expected;
        for (int block = 1; block <= 64; ++block)
            expected << QStringLiteral("%1%").arg(block * 100 / 64);
        QTRY_COMPARE(percentages, expected);
        QCOMPARE(bench.Messages(), QStringList());
        QCOMPARE(Bytes(doc->m_Image).left(1019), Bytes(memory).left(1019));
        QCOMPARE(Bytes(doc->m_Image).mid(1019), Bytes(before).mid(1019));
        QCOMPARE(bench.GridTexts(), bench.ChannelsOf(memory));
        QCOMPARE(bench.fixture->RowTexts(1).first(), QStringLiteral("150.12500"));
        QVERIFY(!CProgramDoc::IsNewDocument());
        QCOMPARE(bench.Frame()->windowTitle(), CProgramView::MainWindowTitle());
        QVERIFY(doc->IsModified()); // the radio's channels are not in any file yet
        // The read is kept as a backup, and it can be undone: the document before it comes back.
        const QList<CBackupStore::Entry> kept = CBackupStore(bench.fixture->BackupFolder()).List();
        QCOMPARE(kept.size(), 1);
        CRadioImage backup;
        QVERIFY(DataFile::Load(kept[0].path, backup).ok());
        QCOMPARE(backup, doc->m_Image);
        doc->Undo();
        QCOMPARE(doc->m_Image, before);
        QVERIFY(!doc->IsModified()); // back where it was before the read
        doc->Redo();
        QCOMPARE(Bytes(doc->m_Image).left(1019), Bytes(memory).left(1019));

        const QByteArray wire = ReadSession(ClonePlan::ReadBlocks());
        QCOMPARE(ReceivedAfter(*bench.radio, wire).toHex(' '), wire.toHex(' '));
        QVERIFY(PortIsFree(bench.Device()));
    }

    void writeSendsTheGrid_data()
    {
        QTest::addColumn<bool>("service");
        QTest::addColumn<bool>("byShortcut");
        QTest::addColumn<int>("blocks");
        QTest::newRow("ordinary, Ctrl+W") << false << true << 60;
        QTest::newRow("after service access, menu") << true << false << 64;
    }

    // The cell being typed into is committed and the grid stored before anything is sent; the radio
    // then holds the grid's channels, and its alignment areas only after service access.
    void writeSendsTheGrid()
    {
        QFETCH(bool, service);
        QFETCH(bool, byShortcut);
        QFETCH(int, blocks);
        if (service)
            CServiceAccess::Grant();
        Bench bench;
        const RadioMemory::Bytes radioBefore = Pattern(3);
        bench.radio->SetMemory(radioBefore);

        bench.fixture->ClickCell(1, ChannelCodec::kRxFrequency);
        bench.fixture->Type(QStringLiteral("150.125")); // still open in its edit box
        if (byShortcut)
            QTest::keyClick(bench.fixture->VisibleEditor(), Qt::Key_W, Qt::ControlModifier);
        else
            bench.Command(CMainFrame::kWrite);
        CProcessDlg* dialog = bench.Dialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Write Data"));
        QCOMPARE(dialog->Progress()->maximum(), blocks);
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 20000);

        QCOMPARE(bench.Messages(), QStringList());
        QCOMPARE(dialog->Percent()->text(), QStringLiteral("100%"));
        QCOMPARE(bench.fixture->RowTexts(1).first(), QStringLiteral("150.12500"));
        const CRadioImage& image = bench.fixture->Doc()->m_Image;
        const std::vector<CCloneBlock> plan = ClonePlan::WriteBlocks(service);
        QCOMPARE(int(plan.size()), blocks);
        const QByteArray wire = WriteSession(plan, BytesOf(image));
        QCOMPARE(ReceivedAfter(*bench.radio, wire).size(), wire.size());
        QCOMPARE(ReceivedAfter(*bench.radio, wire), wire);

        // Every sent byte is the image's, every other the radio's own.
        RadioMemory::Bytes expected = radioBefore;
        for (const CCloneBlock& block : plan)
            for (int a = block.address; a < block.address + block.length; ++a)
                expected[std::size_t(a)] = image.Byte(a);
        QCOMPARE(Bytes(bench.radio->Memory()), Bytes(expected));
        QCOMPARE(bench.ChannelsOf(bench.radio->Memory()), bench.GridTexts());
        QVERIFY(PortIsFree(bench.Device()));
    }

    void cancelBeforeOk_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("write");
        QTest::newRow("Cancel, read") << "cancel" << false;
        QTest::newRow("Escape, write") << "escape" << true;
        QTest::newRow("close box, read") << "close" << false;
    }

    // The window goes and nothing is sent; the next Read starts afresh and works.
    void cancelBeforeOk()
    {
        QFETCH(QString, how);
        QFETCH(bool, write);
        Bench bench;
        const CRadioImage before = bench.fixture->Doc()->m_Image;
        bench.Command(write ? CMainFrame::kWrite : CMainFrame::kRead);
        CProcessDlg* dialog = bench.Dialog();
        if (how == QLatin1String("cancel"))
            QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
        else if (how == QLatin1String("escape"))
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->close();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(bench.fixture->Doc()->m_Image, before);
        QCOMPARE(bench.Messages(), QStringList());

        // The radio's first bytes are those of this read: nothing went out before.
        bench.Transfer(false);
        QCOMPARE(bench.radio->LinksOpened(), 1);
        const QByteArray wire = ReadSession(ClonePlan::ReadBlocks());
        QCOMPARE(ReceivedAfter(*bench.radio, wire).toHex(' '), wire.toHex(' '));
        QCOMPARE(Bytes(bench.fixture->Doc()->m_Image).left(1019), Bytes(bench.radio->Memory()).left(1019));
    }

    // Cancel pressed after block 10 stops right there: no message, the port closed, the image, the
    // grid and the new-document flag exactly as before.
    void cancelDuringRead()
    {
        Bench bench;
        bench.radio->SetMemory(Pattern(5));
        const CRadioImage before = bench.fixture->Doc()->m_Image;
        const QList<QStringList> grid = bench.GridTexts();
        bench.Command(CMainFrame::kRead);
        CProcessDlg* dialog = bench.Dialog();
        OnEachBlock(dialog, this, [&](int position) {
            if (position == 10)
                QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
        });
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 20000);

        QCOMPARE(dialog->Progress()->value(), 10);
        QCOMPARE(bench.Messages(), QStringList());
        QCOMPARE(bench.fixture->Doc()->m_Image, before);
        QCOMPARE(bench.GridTexts(), grid);
        QVERIFY(CProgramDoc::IsNewDocument());
        const std::vector<CCloneBlock> plan = ClonePlan::ReadBlocks();
        const QByteArray wire = ReadSession({ plan.begin(), plan.begin() + 10 });
        QCOMPARE(ReceivedAfter(*bench.radio, wire).toHex(' '), wire.toHex(' '));
        QVERIFY(PortIsFree(bench.Device()));
    }

    // A write stopped after block 10 says the radio now holds a mix and should be written again.
    void cancelDuringWrite()
    {
        Bench bench;
        bench.Command(CMainFrame::kWrite);
        CProcessDlg* dialog = bench.Dialog();
        OnEachBlock(dialog, this, [&](int position) {
            if (position == 10)
                QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
        });
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 20000);
        QCOMPARE(dialog->Progress()->value(), 10);
        QCOMPARE(bench.Messages(), QStringList { kPartial.mid(1) });
        QVERIFY(PortIsFree(bench.Device()));
    }

    void faults_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("message"); // empty: the transfer goes through
        const QString error = kCommunicationError;
        QTest::newRow("no answer to the wake-up") << "English"
                                                  << "wakeup-silent" << false << error;
        QTest::newRow("wake-up refused four times") << "English"
                                                    << "wakeup-nak" << true << error;
        QTest::newRow("wake-up refused once") << "English"
                                              << "wakeup-nak:1" << false << QString();
        QTest::newRow("short mode answer") << "English"
                                           << "mode-short" << false << error;
        QTest::newRow("confirm refused") << "English"
                                         << "confirm-nak" << true << error;
        QTest::newRow("short read block") << "English"
                                          << "read-short:5" << false << error;
        QTest::newRow("silent read block") << "English"
                                           << "read-silent:5" << false << error;
        QTest::newRow("read block not acknowledged") << "English"
                                                     << "read-noack:5" << false << error;
        QTest::newRow("last read block not acknowledged") << "English"
                                                          << "read-noack:64" << false << error;
        QTest::newRow("foreign read header") << "English"
                                             << "read-header" << false << QString();
        QTest::newRow("silent write block") << "English"
                                            << "write-silent:5" << true << error + kPartial;
        QTest::newRow("write block refused") << "English"
                                             << "write-nak:60" << true << error + kPartial;
        QTest::newRow("write block lost by the radio") << "English"
                                                       << "write-lost:5" << true << QString();
        QTest::newRow("Chinese, short read block") << "Chinese"
                                                   << "read-short:1" << false << kCommunicationErrorZh;
        QTest::newRow("Chinese, silent write block") << "Chinese"
                                                     << "write-silent:2" << true << kCommunicationErrorZh + kPartialZh;
    }

    // Each failure shows its one message and closes the window and the port; a read that fails keeps
    // the document exactly as it was (not half a radio), while a good read takes the radio's bytes.
    void faults()
    {
        QFETCH(QString, language);
        QFETCH(QString, fault);
        QFETCH(bool, write);
        QFETCH(QString, message);
        Bench bench(language, { fault });
        bench.radio->SetMemory(Pattern(7));
        const CRadioImage before = bench.fixture->Doc()->m_Image;
        const QList<QStringList> grid = bench.GridTexts();

        bench.Transfer(write);
        QCOMPARE(bench.Messages(), message.isEmpty() ? QStringList() : QStringList { message });
        QVERIFY(PortIsFree(bench.Device()));
        if (write) {
            QCOMPARE(bench.GridTexts(), grid);
        } else if (message.isEmpty()) {
            QCOMPARE(Bytes(bench.fixture->Doc()->m_Image).left(1019), Bytes(Pattern(7)).left(1019));
            QVERIFY(!CProgramDoc::IsNewDocument());
        } else {
            QCOMPARE(bench.fixture->Doc()->m_Image, before);
            QCOMPARE(bench.GridTexts(), grid);
            QVERIFY(CProgramDoc::IsNewDocument());
        }
    }

    void portFailures_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("busy"); // else missing
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("message");
        QTest::newRow("busy, read") << "English" << true << false
                                    << kPortOpenFailed + "\n%1 is in use by another program.";
        QTest::newRow("missing, write")
            << "English" << false << true << kPortOpenFailed + "\nThe device %1 does not exist.";
        QTest::newRow("Chinese, busy, write")
            << "Chinese" << true << true << kPortOpenFailedZh + "\n%1 正被其他程序使用。";
        QTest::newRow("Chinese, missing, read")
            << "Chinese" << false << false << kPortOpenFailedZh + "\n设备 %1 不存在。";
    }

    // The port-open message with the reason, the window closed, nothing sent; a write has stored the
    // grid (the cell being typed included) all the same.
    void portFailures()
    {
        QFETCH(QString, language);
        QFETCH(bool, busy);
        QFETCH(bool, write);
        QFETCH(QString, message);
        Bench bench(language);
        const QString device = busy ? bench.Device() : QStringLiteral("/dev/no-such-radio");
        std::unique_ptr<CPortHolder> holder;
        if (busy) {
            holder = std::make_unique<CPortHolder>(device);
            QVERIFY(holder->Holds());
        } else {
            CPortName::AddOverride(QStringLiteral("COM1=") + device, false);
        }
        const CRadioImage before = bench.fixture->Doc()->m_Image;
        if (write) {
            bench.fixture->ClickCell(3, ChannelCodec::kRxFrequency);
            bench.fixture->Type(QStringLiteral("145"));
        }

        bench.Transfer(write);
        QCOMPARE(bench.Messages(), QStringList { message.arg(device) });
        QCOMPARE(bench.radio->LinksOpened(), 0);
        if (write) {
            QVERIFY(bench.fixture->Doc()->m_Image != before);
            QCOMPARE(bench.ChannelsOf(BytesOf(bench.fixture->Doc()->m_Image)), bench.GridTexts());
        } else {
            QCOMPARE(bench.fixture->Doc()->m_Image, before); // a failed read changes nothing
        }
    }

    void readOverEdits_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("reads");
        QTest::newRow("Save") << int(QMessageBox::Save) << true;
        QTest::newRow("Don't Save") << int(QMessageBox::Discard) << true;
        QTest::newRow("Cancel") << int(QMessageBox::Cancel) << false;
    }

    // Read over an edit asks first, as Open does; Save keeps the edit in its file, Cancel keeps it in
    // the grid and reads nothing.
    void readOverEdits()
    {
        QFETCH(int, answer);
        QFETCH(bool, reads);
        Bench bench;
        bench.radio->SetMemory(Pattern(13));
        const QString file = bench.fixture->DataPath(QStringLiteral("edited.dat"));
        bench.fixture->ClickCell(2, ChannelCodec::kRxFrequency);
        bench.fixture->Type(QStringLiteral("145"));
        bench.fixture->answers << QMessageBox::StandardButton(answer);
        bench.fixture->fileAnswers << file;
        bench.Command(CMainFrame::kRead);

        QCOMPARE(bench.fixture->messages.size(), 1);
        QVERIFY(bench.fixture->messages.first().buttons.testFlag(QMessageBox::Cancel));
        QCOMPARE(bench.Dialog()->isVisible(), reads);
        QCOMPARE(QFile::exists(file), answer == QMessageBox::Save);
        if (!reads) {
            QCOMPARE(bench.fixture->RowTexts(2).first(), QStringLiteral("145.00000"));
            QVERIFY(bench.fixture->Doc()->IsModified());
            return;
        }
        QTest::mouseClick(bench.Dialog()->OkButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!bench.Dialog()->isVisible(), 20000);
        QCOMPARE(bench.GridTexts(), bench.ChannelsOf(Pattern(13)));
        QVERIFY(bench.fixture->Doc()->IsModified());
    }

    // While the progress window is up, a click on a cell opens no editor: typing during a slow read
    // cannot be lost to it.
    void gridLockedDuringTransfer()
    {
        Bench bench;
        bench.radio->SetMemory(Pattern(14));
        bench.Command(CMainFrame::kRead);
        bench.fixture->ClickCell(4, ChannelCodec::kRxFrequency);
        QVERIFY(!bench.fixture->VisibleEditor());
        bool editorDuringRead = true;
        OnEachBlock(bench.Dialog(), this, [&](int position) {
            if (position == 5) {
                bench.fixture->ClickCell(5, ChannelCodec::kRxFrequency);
                editorDuringRead = bench.fixture->VisibleEditor() != nullptr;
            }
        });
        QTest::mouseClick(bench.Dialog()->OkButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!bench.Dialog()->isVisible(), 20000);
        QVERIFY(!editorDuringRead);
        QCOMPARE(bench.GridTexts(), bench.ChannelsOf(Pattern(14)));
        bench.fixture->ClickCell(5, ChannelCodec::kRxFrequency);
        QVERIFY(bench.fixture->VisibleEditor()); // editable again
    }

    // File > Close hides the channel window; a good read brings it back.
    void readShowsTheHiddenWindow()
    {
        Bench bench;
        bench.Command(CMainFrame::kFileClose);
        QVERIFY(bench.fixture->Child()->isHidden());
        bench.Transfer(false);
        QVERIFY(bench.fixture->Child()->isVisible());
        QCOMPARE(bench.Messages(), QStringList());
    }

    // Choosing the other command while the window waits for OK retitles it for what OK will do; once
    // a transfer runs, it keeps its window and its direction.
    void directionChosenAgain()
    {
        Bench bench;
        bench.Command(CMainFrame::kRead);
        bench.Command(CMainFrame::kWrite);
        CProcessDlg* dialog = bench.Dialog();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Write Data"));
        QCOMPARE(dialog->Progress()->maximum(), 60);

        const QList<QStringList> grid = bench.GridTexts();
        OnEachBlock(dialog, this, [&](int position) {
            if (position == 5)
                bench.Command(CMainFrame::kRead);
        });
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 20000);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Write Data"));
        QCOMPARE(dialog->Progress()->value(), 60);
        const QByteArray wire
            = WriteSession(ClonePlan::WriteBlocks(false), BytesOf(bench.fixture->Doc()->m_Image));
        QCOMPARE(ReceivedAfter(*bench.radio, wire), wire);
        QCOMPARE(bench.GridTexts(), grid);

        // The Read chosen during the write is what the next window does.
        bench.Command(CMainFrame::kRead);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Read Data"));
        QCOMPARE(dialog->Progress()->value(), 0);
        QVERIFY(dialog->OkButton()->isEnabled());
    }

    // File > New during a read takes the view and its progress window away: the transfer stops
    // between blocks and nothing of it lands anywhere.
    void windowGoneDuringRead()
    {
        Bench bench;
        bench.radio->SetMemory(Pattern(9));
        bench.Command(CMainFrame::kRead);
        QPointer<CProcessDlg> dialog = bench.Dialog();
        OnEachBlock(dialog, this, [&](int position) {
            if (position == 3)
                bench.Command(CMainFrame::kFileNew);
        });
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog, 20000);
        QCOMPARE(bench.Messages(), QStringList { StringTable::Message(StringTable::kAllDataCleared) });
        QVERIFY(Bytes(bench.fixture->Doc()->m_Image).left(1019) != Bytes(Pattern(9)).left(1019));
        const std::vector<CCloneBlock> plan = ClonePlan::ReadBlocks();
        const QByteArray wire = ReadSession({ plan.begin(), plan.begin() + 3 });
        QCOMPARE(ReceivedAfter(*bench.radio, wire).toHex(' '), wire.toHex(' '));
        QVERIFY(PortIsFree(bench.Device()));
    }

    // The run's own COM1 (run.sh's virtual radio): named in the status bar and in Port Setting, and
    // used by Read without Program.ini knowing of it.
    void virtualRadioForThisRun()
    {
        Bench bench(QStringLiteral("English"), {}, true);
        QLabel* notice = bench.Frame()->statusBar()->findChild<QLabel*>(QStringLiteral("portNotice"));
        QVERIFY(notice);
        QCOMPARE(
            notice->text(), QStringLiteral("COM1: virtual radio on %1 (this run only)").arg(bench.Device()));
        QVERIFY(bench.fixture->IniOnDisk(QStringLiteral("Ports"), QStringLiteral("COM1")).isEmpty());

        bench.radio->SetMemory(Pattern(11));
        bench.Transfer(false);
        QCOMPARE(bench.Messages(), QStringList());
        QCOMPARE(Bytes(bench.fixture->Doc()->m_Image).left(1019), Bytes(Pattern(11)).left(1019));

        // Setup > Com Setup: COM1 checked and named after the virtual radio; OK keeps it.
        QString com1;
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<CPortSettingDlg*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            com1 = dialog->PortButton(1)->text();
            checked = dialog->PortButton(1)->isChecked();
            dialog->accept();
        });
        bench.Command(CMainFrame::kComSetup);
        QCOMPARE(com1, QStringLiteral("COM1  (virtual radio, %1)").arg(bench.Device()));
        QVERIFY(checked);
        QCOMPARE(CPortName::Current(), QStringLiteral("COM1"));

        // The language restart keeps COM1 on the virtual radio (the channels read are let go).
        bench.fixture->answers << QMessageBox::Discard;
        QTimer::singleShot(0, this, [] {
            auto* dialog = qobject_cast<CLanguageDlg*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->ChineseButton()->setChecked(true);
            dialog->accept();
        });
        bench.Command(CMainFrame::kLanguage);
        QCOMPARE(bench.fixture->started,
            QStringList {
                QCoreApplication::applicationFilePath() + " --virtual-radio COM1=" + bench.Device() });
    }

    // Every new channel view loads the port from the user's settings.
    void portLoadedWithTheView()
    {
        CGuiFixture fixture;
        CIniFile ini;
        ini.Open(fixture.BinPath(QStringLiteral("Program.ini")), false, true, false);
        CUserSettings(ini.GetValue(QStringLiteral("Setup"), QStringLiteral("AppName"))).SetPortNumber(12);
        CPortName::SetCurrent(QStringLiteral("COM1"));
        QVERIFY(fixture.Start());
        QCOMPARE(CPortName::Current(), QStringLiteral("\\\\.\\COM12"));
        CPortName::SetCurrent(QStringLiteral("COM1"));
    }
};

QTEST_MAIN(TestTransferWindow)
#include "tst_transfer_window.moc"
