// Program > Compare with Radio against the virtual radio: the radio is read into a scratch image, the
// differences are listed in the running language, the document stays as it was, and Write to Radio
// goes on to the write.

#include "tests/gui_link/TransferWindowBench.h"

#include "csv/CompareDlg.h"

#include <QTreeWidget>

using namespace LinkTest;
using namespace TransferWindowTest;

namespace {
// The radio holds what a Write of the document sent, with channel 1 on 150.125 MHz when asked.
CRadioImage RadioImage(const Bench& bench, bool channel)
{
    CRadioImage image = bench.fixture->Doc()->m_Image;
    CChannelGrid grid(false);
    grid.SetBandLimits(bench.Limits());
    grid.LoadImage(image);
    if (channel)
        grid.Commit(1, ChannelCodec::kRxFrequency, QStringLiteral("150.125"), CChannelGrid::Trigger::Enter);
    grid.StoreGrid(image);
    return image;
}
} // namespace

class TestCompareWindow : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { CServiceAccess::ResetForTest(); }
    void compareThenWrite_data();
    void compareThenWrite();
    void tablesApart_data();
    void tablesApart();
};

void TestCompareWindow::compareThenWrite_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("write");
    QTest::addColumn<QStringList>("first"); // the first listed difference
    QTest::newRow("English, close") << "English" << false
                                    << QStringList { "Channel 1 Rx Frequency", "(empty)", "150.12500" };
    QTest::newRow("Chinese, write") << "Chinese" << true
                                    << QStringList { "信道 1 接收频率", "(空)", "150.12500" };
}

void TestCompareWindow::compareThenWrite()
{
    QFETCH(QString, language);
    QFETCH(bool, write);
    QFETCH(QStringList, first);
    Bench bench(language);
    CGuiFixture& fixture = *bench.fixture;
    CProgramDoc* doc = fixture.Doc();
    bench.radio->SetMemory(BytesOf(RadioImage(bench, true)));
    const CRadioImage before = doc->m_Image;

    QList<QStringList> listed;
    fixture.onDialog = [&](QDialog& dialog) {
        auto* compare = qobject_cast<CCompareDlg*>(&dialog);
        if (!compare)
            return int(QDialog::Rejected);
        for (int i = 0; i < compare->Differences()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = compare->Differences()->topLevelItem(i);
            listed << QStringList { item->text(0), item->text(1), item->text(2) };
        }
        if (write)
            QTest::mouseClick(compare->WriteButton(), Qt::LeftButton);
        else
            compare->reject();
        return compare->result();
    };

    fixture.Run(CMainFrame::kCompareRadio);
    CProcessDlg* progress = bench.View()->ProcessDlg();
    QVERIFY(progress->isVisible());
    QTest::mouseClick(progress->OkButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!listed.isEmpty(), 20000);

    QCOMPARE(listed.size(), ChannelCodec::kFieldCount); // every field of the new channel
    QCOMPARE(listed.first(), first);
    QCOMPARE(doc->m_Image, before);
    QVERIFY(fixture.RowTexts(1).join(QString()).isEmpty());
    QVERIFY(!doc->IsModified());

    if (!write) {
        QVERIFY(!progress->isVisible());
        return;
    }
    // Write to Radio opens the write's progress window; its OK sends the document.
    QTRY_VERIFY(progress->isVisible());
    QCOMPARE(progress->windowTitle(), CProcessDlg::CaptionFor(false));
    QTest::mouseClick(progress->OkButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!progress->isVisible(), 20000);
    QCOMPARE(fixture.messages.size(), 0);
    const RadioMemory::Bytes after = bench.radio->Memory();
    QVERIFY(std::equal(after.begin() + 16, after.begin() + 32, doc->m_Image.ChannelRecord(1).begin()));
}

void TestCompareWindow::tablesApart_data()
{
    QTest::addColumn<bool>("service");
    QTest::addColumn<bool>("channel"); // the radio also holds a channel the document lacks
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("apart");
    QTest::addColumn<bool>("canWrite");
    const QString notWritten
        = QStringLiteral("Not written by Write (only in service mode), 2 difference(s):");
    QTest::newRow("after a normal write: only the tables differ")
        << false << false << "The radio holds what Write sends." << notWritten << false;
    QTest::newRow("a channel differs too")
        << false << true << "8 difference(s) between the document and the radio:" << notWritten << true;
    QTest::newRow("service mode: Write may send the tables")
        << true << false << "The radio holds what Write sends."
        << "Written only when Write is told to replace the power and alignment tables, 2 difference(s):"
        << true;
}

// The radio's power and alignment tables, which a normal Write never sends, are listed apart and never
// make "Write to Radio" worth offering on their own; bytes 0x3FB-0x3FF are never read, so never listed.
void TestCompareWindow::tablesApart()
{
    QFETCH(bool, service);
    QFETCH(bool, channel);
    QFETCH(QString, summary);
    QFETCH(QString, apart);
    QFETCH(bool, canWrite);
    if (service)
        CServiceAccess::Grant();
    Bench bench;
    CGuiFixture& fixture = *bench.fixture;
    // ... and tables of its own.
    CRadioImage radioImage = RadioImage(bench, channel);
    for (int a = 0x300; a < 0x400; a = a == 0x31F ? 0x3E0 : a + 1)
        radioImage.SetByte(a, std::uint8_t(radioImage.Byte(a) ^ 0xFF));
    bench.radio->SetMemory(BytesOf(radioImage));

    QStringList shown;
    QList<QStringList> others;
    bool writeEnabled = false;
    fixture.onDialog = [&](QDialog& dialog) {
        auto* compare = qobject_cast<CCompareDlg*>(&dialog);
        if (!compare)
            return int(QDialog::Rejected);
        shown << compare->Summary()->text() << compare->NotWrittenSummary()->text();
        for (int i = 0; i < compare->NotWritten()->topLevelItemCount(); ++i)
            others << QStringList { compare->NotWritten()->topLevelItem(i)->text(0) };
        writeEnabled = compare->WriteButton()->isEnabled();
        return int(QDialog::Rejected);
    };
    fixture.Run(CMainFrame::kCompareRadio);
    QTest::mouseClick(bench.View()->ProcessDlg()->OkButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 20000);

    QCOMPARE(shown, (QStringList { summary, apart }));
    QCOMPARE(others, (QList<QStringList> { { "Bytes 0x300-0x31F" }, { "Bytes 0x3E0-0x3FA" } }));
    QCOMPARE(writeEnabled, canWrite);
}

QTEST_MAIN(TestCompareWindow)
#include "tst_compare_window.moc"
