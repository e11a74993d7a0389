// Read and Write from the real window against the virtual radio on a pseudo-terminal: the progress
// window, Cancel, every failure's message, and what the grid, the image and the radio hold afterwards.

#include "tests/gui_link/TransferWindowBench.h"

#include <QDialogButtonBox>

#include <csignal>
#include <unistd.h>

using namespace LinkTest;
using namespace TransferWindowTest;

namespace {
// Setup > Language, Chinese and OK.
void PickChinese(const Bench& bench)
{
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CLanguageDlg*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QTest::mouseClick(dialog->ChineseButton(), Qt::LeftButton);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        for (QAbstractButton* button : buttons->buttons())
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                QTest::mouseClick(button, Qt::LeftButton);
    });
    bench.Command(CMainFrame::kLanguage);
}
} // namespace

class TestTransferWindow : public QObject {
    Q_OBJECT

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

        QTRY_COMPARE(percentages.size(), 64);
        QCOMPARE((QStringList {
                     percentages[0], percentages[1], percentages[2], percentages[31], percentages[63] }),
            (QStringList { "1%", "3%", "4%", "50%", "100%" }));
        QCOMPARE(bench.Messages(), QStringList());
        QCOMPARE(Bytes(doc->m_Image).left(1019), Bytes(memory).left(1019));
        QCOMPARE(Bytes(doc->m_Image).mid(1019), Bytes(before).mid(1019));
        QCOMPARE(bench.GridTexts(), bench.ChannelsOf(memory));
        QCOMPARE(bench.fixture->RowTexts(1).first(), QStringLiteral("150.12500"));
        QVERIFY(!CProgramDoc::IsNewDocument());
        QCOMPARE(bench.Frame()->windowTitle(), CProgramView::MainWindowTitle());
        QVERIFY(doc->IsModified()); // the radio's channels are not in any file yet
        // A service-mode Write names the radio read as the source of the tables.
        QVERIFY(doc->TableOrigin().Describe(doc->m_Image, false).startsWith(
            "Power and alignment tables: read from a radio at "));
        // The read is kept as a backup, and it can be undone: the document before it comes back.
        const QList<CBackupStore::Entry> kept = CBackupStore(bench.fixture->BackupFolder()).List();
        QCOMPARE(kept.size(), 1);
        CRadioImage backup;
        QVERIFY(DataFile::Load(kept[0].path, backup).ok());
        QCOMPARE(backup, doc->m_Image);
        // The read's record names that backup and the digest of the bytes it holds.
        const CLogRecord record = CProgramLog().Read(false).records.last();
        QCOMPARE(record.backup, kept[0].path);
        QCOMPARE(record.sha256,
            QString::fromLatin1(QCryptographicHash::hash(Bytes(backup), QCryptographicHash::Sha256).toHex()));
        QCOMPARE(QStringList({ record.port, record.direction, QString::number(record.blocks), record.outcome }),
            QStringList({ "COM1", "read", "64", "done" }));
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
        QTest::addColumn<QList<QMessageBox::StandardButton>>("answers"); // none: Enter, the default
        QTest::addColumn<int>("blocks");
        QTest::newRow("ordinary, Ctrl+W") << false << true << QList<QMessageBox::StandardButton> {} << 60;
        QTest::newRow("service access, Enter keeps the radio's tables")
            << true << true << QList<QMessageBox::StandardButton> {} << 60;
        QTest::newRow("service access, Yes replaces them, menu")
            << true << false << QList { QMessageBox::Yes } << 64;
        QTest::newRow("service access, Cancel sends nothing")
            << true << false << QList { QMessageBox::Cancel } << 0;
    }

    // The cell being typed into is committed and the grid stored before anything is sent; the radio
    // then holds the grid's channels, and its power and alignment tables only when the question asked
    // in service mode (once, naming where the tables came from) is answered Yes.
    void writeSendsTheGrid()
    {
        QFETCH(bool, service);
        QFETCH(bool, byShortcut);
        QFETCH(QList<QMessageBox::StandardButton>, answers);
        QFETCH(int, blocks);
        if (service)
            CServiceAccess::Grant();
        Bench bench;
        bench.fixture->answers = answers;
        const RadioMemory::Bytes radioBefore = Pattern(3);
        bench.radio->SetMemory(radioBefore);

        bench.fixture->ClickCell(1, ChannelCodec::kRxFrequency);
        bench.fixture->Type(QStringLiteral("150.125")); // still open in its edit box
        if (byShortcut)
            QTest::keyClick(bench.fixture->VisibleEditor(), Qt::Key_W, Qt::ControlModifier);
        else
            bench.Command(CMainFrame::kWrite);
        const QStringList question { QStringLiteral(
            "Service mode: this Write can also replace the radio's power and alignment tables (its "
            "calibration) with the document's.\n"
            "Power and alignment tables: never read from a radio (a new document).\n"
            "Replace the radio's power and alignment tables?\n"
            "Yes: write them too.  No: write channels and options only.") };
        QCOMPARE(bench.Messages(), service ? question : QStringList());
        CProcessDlg* dialog = bench.Dialog();
        if (blocks == 0) {
            QVERIFY(!dialog || !dialog->isVisible());
            QVERIFY(bench.radio->Received().empty());
            return;
        }
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Write Data"));
        QCOMPARE(dialog->Progress()->maximum(), blocks);
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 20000);

        QCOMPARE(bench.Messages(), service ? question : QStringList()); // asked once, before the window
        QCOMPARE(dialog->Percent()->text(), QStringLiteral("100%"));
        QCOMPARE(bench.fixture->RowTexts(1).first(), QStringLiteral("150.12500"));
        const QByteArray wire
            = WriteSession(ClonePlan::WriteBlocks(blocks == 64), BytesOf(bench.fixture->Doc()->m_Image));
        QCOMPARE(ReceivedAfter(*bench.radio, wire), wire);

        QCOMPARE(Bytes(bench.radio->Memory()), Bytes(bench.Written(radioBefore, blocks == 64)));
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

    void cancelDuringTransfer_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("logged"); // direction, blocks, outcome
        QTest::addColumn<QString>("status"); // what the status bar keeps, %1 the port, HH:MM the time
        QTest::addColumn<QString>("language");
        // A stopped read says nothing in a box; both say the port and how far they got in the status bar.
        QTest::newRow("read") << false << QStringList() << "read 10 stopped"
                              << "Read from %1 stopped after 10 of 64 blocks at HH:MM; the document is unchanged"
                              << "English";
        QTest::newRow("write") << true << QStringList { "Write to %1 stopped after 10 of 60 blocks." + kPartial }
                               << "write 10 stopped"
                               << "Write to %1 stopped after 10 of 60 blocks at HH:MM; write again before using the radio"
                               << "English";
        QTest::newRow("write, Chinese") << true << QStringList { "向 %1 写入已停止: 完成 10/60 块。" + kPartialZh }
                                        << "write 10 stopped" << "HH:MM 向 %1 写入已停止: 完成 10/60 块; 请重新写入后再使用电台"
                                        << "Chinese";
    }

    // Cancel pressed after block 10 stops right there and closes the port. A read leaves the image,
    // the grid and the new-document flag as they were; a write says the radio now holds a mix.
    void cancelDuringTransfer()
    {
        QFETCH(bool, write);
        QFETCH(QStringList, messages);
        QFETCH(QString, logged);
        QFETCH(QString, status);
        QFETCH(QString, language);
        Bench bench(language);
        bench.radio->SetMemory(Pattern(5));
        const CRadioImage before = bench.fixture->Doc()->m_Image;
        const QList<QStringList> grid = bench.GridTexts();
        bench.Command(write ? CMainFrame::kWrite : CMainFrame::kRead);
        CProcessDlg* dialog = bench.Dialog();
        OnEachBlock(dialog, this, [&](int position) {
            if (position == 10)
                QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
        });
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 20000);

        QCOMPARE(dialog->Progress()->value(), 10);
        const QString port = QStringLiteral("COM1 (%1)").arg(bench.Device());
        for (QString& message : messages)
            message = message.arg(port);
        QCOMPARE(bench.Messages(), messages);
        const QString shown = bench.Frame()->statusBar()->currentMessage();
        const QString pattern = QRegularExpression::escape(status.arg(port)).replace(QRegularExpression::escape("HH:MM"), "[0-2][0-9]:[0-5][0-9]");
        QVERIFY2(QRegularExpression("^" + pattern + "$").match(shown).hasMatch(), qPrintable(shown));
        const CLogRecord record = CProgramLog().Read(false).records.last();
        QCOMPARE(record.direction + ' ' + QString::number(record.blocks) + ' ' + record.outcome, logged);
        QVERIFY(PortIsFree(bench.Device()));
        if (write)
            return;
        QCOMPARE(bench.fixture->Doc()->m_Image, before);
        QCOMPARE(bench.GridTexts(), grid);
        QVERIFY(CProgramDoc::IsNewDocument());
        const std::vector<CCloneBlock> plan = ClonePlan::ReadBlocks();
        const QByteArray wire = ReadSession({ plan.begin(), plan.begin() + 10 });
        QCOMPARE(ReceivedAfter(*bench.radio, wire).toHex(' '), wire.toHex(' '));
    }

    void closeDuringTransfer_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<bool>("edited"); // the document has unsaved edits
        QTest::addColumn<QString>("how"); // close box, File > Exit, or a stop signal, after block 10
        QTest::addColumn<QList<QMessageBox::StandardButton>>("answers"); // none: Enter, the default
        QTest::addColumn<QStringList>("messages"); // "question", "partial", or how one starts
        QTest::addColumn<QString>("logged"); // direction and outcome
        QTest::addColumn<bool>("closed");
        using Answers = QList<QMessageBox::StandardButton>;
        QTest::newRow("write, close box, Enter keeps it running")
            << true << false << "close" << Answers {} << QStringList { "question" } << "write done" << false;
        QTest::newRow("write, File > Exit, Yes stops it, then the program closes")
            << true << false << "exit" << Answers { QMessageBox::Yes } << QStringList { "question", "partial" }
            << "write stopped" << true;
        QTest::newRow("read, close box, Yes")
            << false << false << "close" << Answers { QMessageBox::Yes } << QStringList { "question" } << "read stopped"
            << true;
        QTest::newRow("unsaved edits: the transfer is asked about first, then Save changes")
            << true << true << "close" << Answers { QMessageBox::Yes, QMessageBox::Ok, QMessageBox::Discard }
            << QStringList { "question", "partial", "Save changes to " } << "write stopped" << true;
        QTest::newRow("unsaved edits, Cancel at Save changes: stopped, the program stays")
            << true << true << "exit" << Answers { QMessageBox::Yes, QMessageBox::Ok, QMessageBox::Cancel }
            << QStringList { "question", "partial", "Save changes to " } << "write stopped" << false;
        // The channel window's close box only hides it while the radio is being written: a question
        // there would hold the write between two blocks for as long as it stood open.
        QTest::newRow("unsaved edits, the channel window's close box: hidden unasked, the write goes on")
            << true << true << "inner" << Answers {} << QStringList {} << "write done" << false;
        QTest::newRow("SIGTERM: no question, stopped as Cancel stops it")
            << true << false << "SIGTERM" << Answers {} << QStringList { "partial" } << "write stopped" << true;
        QTest::newRow("SIGHUP with unsaved edits: kept in the backups, nothing asked")
            << true << true << "SIGHUP" << Answers {} << QStringList { "partial" } << "write stopped" << true;
        QTest::newRow("SIGTERM during a read") << false << false << "SIGTERM" << Answers {} << QStringList {}
                                               << "read stopped" << true;
        QTest::newRow("Setup > Language, Yes: stopped, then the restart")
            << true << false << "language" << Answers { QMessageBox::Yes } << QStringList { "question", "partial" }
            << "write stopped" << true;
        QTest::newRow("Setup > Language, Enter: the write goes on and nothing restarts")
            << true << false << "language" << Answers {} << QStringList { "question" } << "write done" << false;
    }

    // Closing the program while a transfer runs never leaves the radio half-written without a word: it
    // asks (naming the port, Keep Running the default), and a stop ends the transfer between blocks with
    // Cancel's warning and log record before the program closes. A stop signal does the same unasked.
    void closeDuringTransfer()
    {
        QFETCH(bool, write);
        QFETCH(bool, edited);
        QFETCH(QString, how);
        QFETCH(QList<QMessageBox::StandardButton>, answers);
        QFETCH(QStringList, messages);
        QFETCH(QString, logged);
        QFETCH(bool, closed);
        Bench bench;
        bench.radio->SetMemory(Pattern(5));
        if (edited) {
            bench.fixture->ClickCell(1, ChannelCodec::kRxFrequency);
            bench.fixture->Type(QStringLiteral("150.125"));
            bench.fixture->PressEnter();
            QVERIFY(bench.fixture->Doc()->IsModified());
        }
        bench.fixture->answers = answers;
        bench.Command(write ? CMainFrame::kWrite : CMainFrame::kRead);
        CProcessDlg* dialog = bench.Dialog();
        OnEachBlock(dialog, this, [&](int position) {
            if (position != 10)
                return;
            if (how == "close")
                bench.Frame()->close();
            else if (how == "inner")
                bench.fixture->Child()->close();
            else if (how == "exit")
                bench.Command(CMainFrame::kAppExit);
            else if (how == "language")
                PickChinese(bench);
            else
                ::kill(::getpid(), how == "SIGTERM" ? SIGTERM : SIGHUP);
        });
        QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(bench.Messages().size(), messages.size(), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(bench.Frame()->isVisible(), !closed, 5000);

        const QString port = QStringLiteral("COM1 (%1)").arg(bench.Device());
        const QString question = (write ? QStringLiteral(
                                              "The program is still talking to a radio:\n- Write to the radio on %1: "
                                              "stopped now, the radio would keep part of the new data and must be "
                                              "written again.\n")
                                        : QStringLiteral("The program is still talking to a radio:\n- Read from the "
                                                         "radio on %1: stopping discards what was read.\n"))
                                     .arg(port)
            + "Stop and close the program?\nYes: stop after the current block, then close.  No: keep running.";
        const QStringList shown = bench.Messages();
        QCOMPARE(shown.size(), messages.size());
        for (int i = 0; i < messages.size(); ++i) {
            if (messages[i] == "question")
                QCOMPARE(shown[i], question);
            else if (messages[i] == "partial") // how far it got, then the warning
                QVERIFY2(shown[i].startsWith("Write to " + port + " stopped after ") && shown[i].endsWith(" of 60 blocks." + kPartial),
                    qPrintable(shown[i]));
            else
                QVERIFY2(shown[i].startsWith(messages[i]), qPrintable(shown[i]));
        }
        // Enter keeps the transfer running: the question's default is No.
        if (messages.value(0) == "question")
            QCOMPARE(bench.fixture->messages[0].buttons, QMessageBox::Yes | QMessageBox::No);

        const CLogRecord record = CProgramLog().Read(false).records.last();
        QCOMPARE(record.direction + ' ' + record.outcome, logged);
        const int blocks = write ? 60 : 64;
        if (logged.endsWith("done"))
            QCOMPARE(record.blocks, blocks);
        else if (how.startsWith("SIG")) // the signal is seen between blocks, a little later than a click
            QVERIFY2(record.blocks >= 10 && record.blocks < blocks, qPrintable(QString::number(record.blocks)));
        else
            QCOMPARE(record.blocks, 10);
        QVERIFY(PortIsFree(bench.Device()));
        // A new language restarts the program only once it has really closed.
        QCOMPARE(bench.fixture->started.size(), how == "language" && closed ? 1 : 0);
        // With nobody to ask, unsaved edits go into the backups rather than nowhere.
        const QList<CBackupStore::Entry> kept = CBackupStore(bench.fixture->BackupFolder()).List();
        QCOMPARE(kept.size(), how.startsWith("SIG") && edited ? 1 : 0);
        if (how == "inner") // back when the write is over, the edits still there
            QTRY_VERIFY_WITH_TIMEOUT(bench.fixture->Child()->isVisible() && bench.fixture->Doc()->IsModified(), 5000);
        if (!kept.isEmpty()) {
            CRadioImage backup;
            QVERIFY(DataFile::Load(kept[0].path, backup).ok());
            QCOMPARE(backup, bench.fixture->Doc()->m_Image);
        }
    }
};

QTEST_MAIN(TestTransferWindow)
#include "tst_transfer_window.moc"
