// File > Import CSV... and Export CSV... in the real window: the report of refused rows, its two ways
// out, and the list written from what the grid holds.

#include "tests/gui/GuiFixture.h"
#include "tests/common/TestFiles.h"

#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "csv/ImportLocationDlg.h"
#include "config/SafeFile.h"
#include "csv/ImportReportDlg.h"
#include "image/ProgramDoc.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QStatusBar>
#include <QTest>

#include <cerrno>

namespace {
const QByteArray kCsv = "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,Mode,Skip,Power,Comment\n"
                        "3,146.520000,-,0.600000,TSQL,88.5,100.0,NFM,S,Low,busy=Carrier\n"
                        "4,446.000000,,0.000000,,88.5,88.5,FM,,High,\n";

// A shared list of 60 Locations: Location n on 145 MHz + n x 25 kHz, named "Rn"; with bad, Location 25
// (line 26) lies on 446 MHz, outside the radio's band.
QByteArray longList(bool bad = false)
{
    QByteArray list = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,Power\n";
    for (int n = 1; n <= 60; ++n) {
        const QByteArray frequency = bad && n == 25 ? QByteArray("446.000000")
                                                    : QByteArray::number(145000000 + n * 25000).insert(3, '.');
        list += QByteArray::number(n) + ",R" + QByteArray::number(n) + "," + frequency + ",,0.000000,,88.5,88.5,5.0W\n";
    }
    return list;
}

QStringList itemTexts(const QTreeWidgetItem* item)
{
    QStringList texts;
    for (int i = 0; item && i < item->columnCount(); ++i)
        texts << item->text(i);
    return texts;
}
}

class TestCsvWindow : public QObject {
    Q_OBJECT

private slots:
    void importReport_data();
    void importReport();
    void importLongList_data();
    void importLongList();
    void exportWritesTheGrid();
};

void TestCsvWindow::importReport_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("importRest");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("bandHint");
    QTest::addColumn<QString>("status"); // the status bar afterwards
    const QString refusal
        = "Line 3: Receive frequency 446.000000 MHz lies outside the radio's band, 130\u2013161 MHz.";
    const QString hint = "To choose another band: Edit > Product Information.";
    QTest::newRow("English, cancel") << "English" << false << refusal << hint << "Ready";
    QTest::newRow("English, import the rest") << "English" << true << refusal << hint << "Imported 1 channel";
    QTest::newRow("Chinese, import the rest") << "Chinese" << true << "第 3 行: 接收频率 446.000000 MHz 超出电台频段 130\u2013161 MHz。"
        << "选择其他频段: 编辑 > 类型设置。" << "已导入 1 个信道";
}

// The report lists the refused row; Cancel keeps the document as it was, Import the Rest places the
// good row by the grid's rules and marks the document modified.
void TestCsvWindow::importReport()
{
    QFETCH(QString, language);
    QFETCH(bool, importRest);
    QFETCH(QString, refusal);
    QFETCH(QString, bandHint);
    QFETCH(QString, status);
    CGuiFixture fixture(language);
    QVERIFY(fixture.Start());
    const QString csv = fixture.DataPath("list.csv");
    QVERIFY(TestFiles::Write(csv, kCsv));
    const CRadioImage before = fixture.Doc()->m_Image;

    QStringList listed;
    bool restEnabled = false;
    QString hint;
    fixture.onDialog = [&](QDialog& dialog) {
        auto* report = qobject_cast<CImportReportDlg*>(&dialog);
        if (!report)
            return int(QDialog::Rejected);
        for (int i = 0; i < report->Refusals()->count(); ++i)
            listed << report->Refusals()->item(i)->text();
        restEnabled = report->ImportRestButton()->isEnabled();
        hint = report->BandHint()->isHidden() ? QString() : report->BandHint()->text();
        if (importRest)
            QTest::mouseClick(report->ImportRestButton(), Qt::LeftButton);
        else
            report->reject();
        return report->result();
    };
    fixture.fileAnswers << csv;
    fixture.App().MainFrame()->FindCommand(CMainFrame::kFileImportCsv)->trigger();

    QCOMPARE(fixture.filePrompts.size(), 1);
    QVERIFY(fixture.filePrompts.first().csv);
    QCOMPARE(listed.size(), 1);
    QCOMPARE(listed.first(), refusal);
    QCOMPARE(hint, bandHint);
    QVERIFY(restEnabled);
    QCOMPARE(fixture.App().MainFrame()->statusBar()->currentMessage(), status);
    if (!importRest) {
        QCOMPARE(fixture.Doc()->m_Image, before);
        QVERIFY(fixture.RowTexts(3).join(QString()).isEmpty());
        QVERIFY(!fixture.Doc()->IsModified());
        return;
    }
    const bool zh = language == QLatin1String("Chinese");
    QCOMPARE(fixture.RowTexts(3),
        QStringList({ "146.52000", "145.92000", "100.0", "100.0", zh ? "窄" : "Narrow", zh ? "否" : "No",
            zh ? "载波" : "Carrier", zh ? "低" : "Low" }));
    QVERIFY(fixture.RowTexts(4).join(QString()).isEmpty());
    QVERIFY(fixture.Doc()->IsModified());
    // The whole import is one undo step.
    fixture.Doc()->Undo();
    QCOMPARE(fixture.Doc()->m_Image, before);
    QVERIFY(fixture.RowTexts(3).join(QString()).isEmpty());
    QVERIFY(!fixture.Doc()->IsModified());
}

void TestCsvWindow::importLongList_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("bad"); // Location 25 lies outside the band
    QTest::addColumn<bool>("import");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("fifth"); // the preview's row of channel 5
    const QString taken = "Channels 1 to 16 take Locations 21 to 36 (16 row(s)); 44 row(s) outside are left out.";
    const QStringList fifth { "5", "25", "145.62500", "145.62500", "None", "None", "Wide", "Yes", "Off", "High", "" };
    const QString outside = "Receive frequency 446.000000 MHz lies outside the radio's band, 130\u2013161 MHz.";
    QTest::newRow("English, from 21") << "English" << false << true << taken
        << "Imported 16 channel(s), left out 44 rows outside Locations 21\u201336." << fifth;
    QTest::newRow("English, cancel") << "English" << false << false << taken << QString() << fifth;
    QTest::newRow("Chinese, from 21") << "Chinese" << false << true << "信道 1 到 16 取 Location 21 到 36 (16 行); 其外的 44 行略去。"
        << "已导入 16 个信道, 略去 Location 21\u201336 之外的 44 行。"
        << QStringList { "5", "25", "145.62500", "145.62500", "无", "无", "宽", "是", "关", "高", "" };
    // A row that will be refused is marked with its reason before Import, which takes the others.
    QTest::newRow("a row outside the band, marked") << "English" << true << true
        << taken + "\n1 row(s) marked in red cannot be placed and will be refused; Import takes the others."
        << "Imported 15 channel(s), left out 44 rows outside Locations 21\u201336.\nLine 26: " + outside
        << QStringList { "5", "25", "", "", "", "", "", "", "", "", outside };
}

// A list longer than the radio: the first Location is chosen over the file's range, the preview shows
// the 16 channels as the grid will store them, marks the rows that will be refused, and says names are
// not kept; nothing changes before Import, which is then one undo step.
void TestCsvWindow::importLongList()
{
    QFETCH(QString, language);
    QFETCH(bool, bad);
    QFETCH(bool, import);
    QFETCH(QString, summary);
    QFETCH(QString, message);
    QFETCH(QStringList, fifth);
    CGuiFixture fixture(language);
    QVERIFY(fixture.Start());
    const QString csv = fixture.DataPath("long.csv");
    QVERIFY(TestFiles::Write(csv, longList(bad)));
    const CRadioImage before = fixture.Doc()->m_Image;
    const bool zh = language == QLatin1String("Chinese");

    int lowest = 0, highest = 0, rows = 0;
    QStringList headers, firstRow, fifthRow, lastRow;
    QString shownSummary, names;
    bool unchangedWhileOpen = false, fifthMarked = false, firstMarked = true;
    fixture.onDialog = [&](QDialog& dialog) {
        auto* choice = qobject_cast<CImportLocationDlg*>(&dialog);
        if (!choice)
            return int(QDialog::Rejected);
        lowest = choice->FirstLocationBox()->minimum();
        highest = choice->FirstLocationBox()->maximum();
        QTest::keyClick(choice->FirstLocationBox(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(choice->FirstLocationBox(), QStringLiteral("21"));
        rows = choice->Preview()->topLevelItemCount();
        headers = itemTexts(choice->Preview()->headerItem());
        firstRow = itemTexts(choice->Preview()->topLevelItem(0));
        fifthRow = itemTexts(choice->Preview()->topLevelItem(4));
        lastRow = itemTexts(choice->Preview()->topLevelItem(rows - 1));
        fifthMarked = choice->Preview()->topLevelItem(4)->foreground(0).color() == QColor(0xc0, 0, 0);
        firstMarked = choice->Preview()->topLevelItem(0)->foreground(0).color() == QColor(0xc0, 0, 0);
        shownSummary = choice->Summary()->text();
        names = choice->NamesNote()->isHidden() ? QString() : choice->NamesNote()->text();
        unchangedWhileOpen = fixture.Doc()->m_Image == before;
        if (import)
            QTest::mouseClick(choice->ImportButton(), Qt::LeftButton);
        else
            choice->reject();
        return choice->result();
    };
    fixture.fileAnswers << csv;
    fixture.App().MainFrame()->FindCommand(CMainFrame::kFileImportCsv)->trigger();

    QCOMPARE(fixture.dialogs.size(), 1); // no report after it: the preview has shown the refused rows
    QCOMPARE(lowest, 1);
    QCOMPARE(highest, 60);
    QCOMPARE(rows, 16);
    QCOMPARE(headers.mid(0, 4), zh ? QStringList({ "信道", "Location", "接收频率", "发射频率" })
                                   : QStringList({ "Channel", "Location", "Rx Frequency", "Tx Frequency" }));
    QCOMPARE(headers.size(), 11);
    QCOMPARE(firstRow.mid(0, 4), QStringList({ "1", "21", "145.52500", "145.52500" }));
    QCOMPARE(fifthRow, fifth);
    QCOMPARE(lastRow.mid(0, 4), QStringList({ "16", "36", "145.90000", "145.90000" }));
    QCOMPARE(fifthMarked, bad);
    QVERIFY(!firstMarked);
    QCOMPARE(shownSummary, summary);
    QCOMPARE(names, zh ? QStringLiteral("不保留信道名称: 电台不存储名称。")
                       : QStringLiteral("Channel names are not kept: the radio stores none."));
    QVERIFY(unchangedWhileOpen);
    if (!import) {
        QCOMPARE(fixture.Doc()->m_Image, before);
        QVERIFY(fixture.messages.isEmpty());
        return;
    }
    QCOMPARE(fixture.RowTexts(1).value(0), QStringLiteral("145.52500"));
    QCOMPARE(fixture.RowTexts(5).value(0), bad ? QString() : QStringLiteral("145.62500"));
    QCOMPARE(fixture.RowTexts(16).value(0), QStringLiteral("145.90000"));
    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(fixture.messages.first().text, message);
    fixture.Doc()->Undo();
    QCOMPARE(fixture.Doc()->m_Image, before);
}

// Export takes the grid as it stands, the value still in its editor included, without touching the
// document.
void TestCsvWindow::exportWritesTheGrid()
{
    CGuiFixture fixture;
    QVERIFY(fixture.Start());
    fixture.ClickCell(2, 1);
    fixture.Type(QStringLiteral("145.5"));
    const QString out = fixture.DataPath("out.csv");
    fixture.fileAnswers << out;
    fixture.App().MainFrame()->FindCommand(CMainFrame::kFileExportCsv)->trigger();
    QCOMPARE(fixture.filePrompts.size(), 1);
    QVERIFY(fixture.filePrompts.first().proposed.endsWith(QLatin1String(".csv")));
    const QByteArray written = TestFiles::Read(out);
    QVERIFY2(written.contains("\r\n2,,145.500000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,busy=Off,,,,\r\n"),
        written.constData());
    QVERIFY(fixture.messages.isEmpty());
    const QString status = fixture.Frame()->statusBar()->currentMessage();
    QVERIFY2(status.startsWith("Exported 1 channel to " + out + " at "), qPrintable(status));

    // A tone outside the list is written as it is, and the message names the channel.
    CRadioImage image = fixture.Doc()->m_Image;
    image.SetByte(ImageMap::channelOffset(2) + ImageMap::Channel::kEncodeTone, 0xB6);
    image.SetByte(ImageMap::channelOffset(2) + ImageMap::Channel::kEncodeTone + 1, 0x02);
    fixture.Doc()->ChangeImage(image, QStringLiteral("tone"));
    fixture.fileAnswers << out;
    fixture.App().MainFrame()->FindCommand(CMainFrame::kFileExportCsv)->trigger();
    QVERIFY2(TestFiles::Read(out).contains("\r\n2,,145.500000,,0.000000,Tone,69.4,69.4,"), TestFiles::Read(out).constData());
    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(fixture.messages.first().text, out + QStringLiteral(" was written.\n"
        "Channel 2: not in the standard tone list: 69.4 Hz. Other programs may refuse this row."));

    // A disk that fails the save leaves the list written before whole and says why.
    const QByteArray before = TestFiles::Read(out);
    fixture.messages.clear();
    fixture.ClickCell(3, 1);
    fixture.Type(QStringLiteral("146.5"));
    fixture.fileAnswers << out;
    SafeFile::FailNextWrite(SafeFile::Step::Sync, EIO);
    fixture.App().MainFrame()->FindCommand(CMainFrame::kFileExportCsv)->trigger();
    QCOMPARE(fixture.messages.size(), 1);
    QVERIFY2(fixture.messages[0].text.contains(out) && fixture.messages[0].text.contains("Input/output error"),
        qPrintable(fixture.messages[0].text));
    QCOMPARE(TestFiles::Read(out), before);
    QVERIFY(!fixture.Frame()->statusBar()->currentMessage().startsWith("Exported"));
}

QTEST_MAIN(TestCsvWindow)
#include "tst_csv_window.moc"
