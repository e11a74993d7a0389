// What the transfer window tests share: the program started with COM1 standing for a virtual radio,
// the texts of the transfer messages and the radio contents the tests start from.
#pragma once

#include "tests/gui/GuiFixture.h"
#include "tests/link/LinkTestSupport.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "config/IniFile.h"
#include "config/StringTable.h"
#include "config/UserSettings.h"
#include "dialogs/LanguageDlg.h"
#include "radio/ChannelGrid.h"
#include "widgets/MSFlexGrid.h"
#include "editor/ProgramView.h"
#include "image/BackupStore.h"
#include "image/DataFile.h"
#include "image/ProgramDoc.h"
#include "link/ClonePlan.h"
#include "link/PortName.h"
#include "link/PortSettingDlg.h"
#include "link/ProcessDlg.h"
#include "link/ProgramLog.h"
#include "link/SerialPort.h"
#include "link/SerialTrace.h"
#include "radio/ServiceAccess.h"

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>

#include <optional>

using namespace LinkTest;

namespace TransferWindowTest {

const QString kCommunicationError = QStringLiteral("Communication Error");
const QString kCommunicationErrorZh = QStringLiteral("通信出错");
const QString kPortOpenFailed = QStringLiteral(
    "Could not Open the Port,Please check whether the Port are occupied or the device are ok");
const QString kPortOpenFailedZh = QStringLiteral("无法打开端口,请检查端口是否被占用或设备是否正常");
const QString kPartial
    = QStringLiteral("\nThe radio may now hold part of the new data. Write it again before using the radio.");
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
            arguments << QStringLiteral("--virtual-radio") << QStringLiteral("COM1=") + Device();
        else
            fixture->SetIni(QStringLiteral("Ports"), QStringLiteral("COM1"), Device());
        if (!fixture->Start(arguments))
            qFatal("the program did not start");
    }
    ~Bench()
    {
        fixture.reset();
        CSerialTrace::StopAll();
        CPortName::ClearOverrides();
        CPortName::SetCurrent(QStringLiteral("COM1"));
    }

    CMainFrame* Frame() const { return fixture->Frame(); }
    CProgramView* View() const { return fixture->View(); }
    CProcessDlg* Dialog() const { return View()->findChild<CProcessDlg*>(); }
    QString Device() const { return LinkTest::Device(*radio); }
    void Command(int id) const { fixture->Run(id); }
    // Read or Write chosen (Verify after writing set as asked) and OK pressed; returns when the
    // progress window has gone.
    void Transfer(bool write, std::optional<bool> verify = std::nullopt) const
    {
        Command(write ? CMainFrame::kWrite : CMainFrame::kRead);
        QVERIFY(Dialog() && Dialog()->isVisible());
        if (verify && Dialog()->VerifyBox()->isChecked() != *verify)
            QTest::mouseClick(Dialog()->VerifyBox(), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(Dialog()->OkButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!Dialog()->isVisible(), 20000);
    }
    QStringList Messages() const { return fixture->MessageTexts(); }
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
    // What a radio holds after a Write of the document over before, with the tables or without.
    RadioMemory::Bytes Written(const RadioMemory::Bytes& before, bool tables = false) const
    {
        return LinkTest::Written(before, BytesOf(fixture->Doc()->m_Image), tables);
    }
    BandLimits Limits() const { return { View()->m_nLowerLimit, View()->m_nUpperLimit }; }
};

// Calls onBlock with the bar's position after each block, from the event handling between blocks.
inline void OnEachBlock(CProcessDlg* dialog, QObject* context, const std::function<void(int)>& onBlock)
{
    QObject::connect(
        dialog->Progress(), &QProgressBar::valueChanged, context,
        [onBlock](int position) {
            if (position > 0)
                onBlock(position);
        },
        Qt::QueuedConnection);
}

} // namespace TransferWindowTest
