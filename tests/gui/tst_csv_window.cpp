// File > Import CSV... and Export CSV... in the real window: the report of refused rows, its two ways
// out, and the list written from what the grid holds.

#include "tests/gui/GuiFixture.h"
#include "tests/common/TestFiles.h"

#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "csv/ImportReportDlg.h"
#include "image/ProgramDoc.h"

#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace {
const QByteArray kCsv = "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,Mode,Skip,Power,Comment\n"
                        "3,146.520000,-,0.600000,TSQL,88.5,100.0,NFM,S,Low,busy=Carrier\n"
                        "4,446.000000,,0.000000,,88.5,88.5,FM,,High,\n";
}

class TestCsvWindow : public QObject {
    Q_OBJECT

private slots:
    void importReport_data();
    void importReport();
    void exportWritesTheGrid();
};

void TestCsvWindow::importReport_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("importRest");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("status"); // the status bar afterwards
    QTest::newRow("English, cancel") << "English" << false << "Line 3: Receive frequency 446.000000 MHz" << "Ready";
    QTest::newRow("English, import the rest")
        << "English" << true << "Line 3: Receive frequency 446.000000 MHz" << "Imported 1 channel";
    QTest::newRow("Chinese, import the rest")
        << "Chinese" << true << "第 3 行: 接收频率 446.000000 MHz" << "已导入 1 个信道";
}

// The report lists the refused row; Cancel keeps the document as it was, Import the Rest places the
// good row by the grid's rules and marks the document modified.
void TestCsvWindow::importReport()
{
    QFETCH(QString, language);
    QFETCH(bool, importRest);
    QFETCH(QString, refusal);
    QFETCH(QString, status);
    CGuiFixture fixture(language);
    QVERIFY(fixture.Start());
    const QString csv = fixture.DataPath("list.csv");
    QVERIFY(TestFiles::Write(csv, kCsv));
    const CRadioImage before = fixture.Doc()->m_Image;

    QStringList listed;
    bool restEnabled = false;
    fixture.onDialog = [&](QDialog& dialog) {
        auto* report = qobject_cast<CImportReportDlg*>(&dialog);
        if (!report)
            return int(QDialog::Rejected);
        for (int i = 0; i < report->Refusals()->count(); ++i)
            listed << report->Refusals()->item(i)->text();
        restEnabled = report->ImportRestButton()->isEnabled();
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
    QVERIFY2(listed.first().startsWith(refusal), qPrintable(listed.first()));
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
    QVERIFY2(written.contains("\r\n2,,145.500000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,busy=Off,,,,\r\n"),
        written.constData());
}

QTEST_MAIN(TestCsvWindow)
#include "tst_csv_window.moc"
