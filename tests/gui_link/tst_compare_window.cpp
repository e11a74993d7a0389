// Program > Compare with Radio against the virtual radio: the radio is read into a scratch image, the
// differences are listed in the running language, the document stays as it was, and Write to Radio
// goes on to the write.

#include "tests/gui_link/TransferWindowBench.h"

#include "csv/CompareDlg.h"
#include "link/ProgramLog.h"

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

    void compare_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("service");
        QTest::addColumn<bool>("channel"); // the radio also holds a channel the document lacks
        QTest::addColumn<bool>("tables"); // the radio's power and alignment tables are its own
        QTest::addColumn<bool>("write"); // Write to Radio pressed, else Close
        QTest::addColumn<QStringList>("summaries"); // of the differences, and of the tables when listed
        QTest::addColumn<QStringList>("first"); // the first listed difference
        QTest::addColumn<bool>("canWrite");
        QTest::addColumn<int>("band"); // the radio's band byte when it is not the document's, else -1
        QTest::addColumn<int>("answer"); // to the question before writing across bands; 0: Enter
        const QStringList channel { "Channel 1 Rx Frequency", "(empty)", "150.12500" };
        const QString eight = "8 difference(s) between the document and the radio:";
        const QString same = "The radio holds what Write sends.";
        const QString notWritten = "Not written by Write (only in service mode), 2 difference(s):";
        QTest::newRow("a channel, Close")
            << "English" << false << true << false << false << QStringList { eight } << channel << true << -1 << 0;
        QTest::newRow("Chinese, a channel, Write to Radio")
            << "Chinese" << false << true << false << true << QStringList { "文档与电台之间有 8 处不同:" }
            << QStringList { "信道 1 接收频率", "(空)", "150.12500" } << true << -1 << 0;
        QTest::newRow("nothing differs")
            << "English" << false << false << false << false
            << QStringList { "The radio holds what the document holds." } << QStringList() << false << -1 << 0;
        QTest::newRow("after a normal write: only the tables differ")
            << "English" << false << false << true << false << QStringList { same, notWritten }
            << QStringList() << false << -1 << 0;
        QTest::newRow("a channel differs too") << "English" << false << true << true << false
                                               << QStringList { eight, notWritten } << channel << true << -1 << 0;
        QTest::newRow("service mode: Write may send the tables")
            << "English" << true << false << true << false
            << QStringList { same,
                   "Written only when Write is told to replace the power and alignment tables, 2 "
                   "difference(s):" }
            << QStringList() << true << -1 << 0;
        const QStringList band { "Frequency", "130 - 160MHz", "400 - 470MHz" };
        QTest::newRow("a radio of another band: first and marked, Enter keeps it out")
            << "English" << false << true << false << true << QStringList { "9 difference(s) between the document and the radio:" }
            << band << true << 2 << 0;
        QTest::newRow("a radio of another band, Yes writes")
            << "English" << false << true << false << true << QStringList { "9 difference(s) between the document and the radio:" }
            << band << true << 2 << int(QMessageBox::Yes);
    }

    // The radio is read into a scratch image and the differences listed in the running language; the
    // document stays as it was. The radio's power and alignment tables, which a normal Write never sends,
    // are listed apart and never make "Write to Radio" worth offering on their own; bytes 0x3FB-0x3FF are
    // never read, so never listed. Write to Radio goes on to the write.
    void compare()
    {
        QFETCH(QString, language);
        QFETCH(bool, service);
        QFETCH(bool, channel);
        QFETCH(bool, tables);
        QFETCH(bool, write);
        QFETCH(QStringList, summaries);
        QFETCH(QStringList, first);
        QFETCH(bool, canWrite);
        QFETCH(int, band);
        QFETCH(int, answer);
        if (service)
            CServiceAccess::Grant();
        Bench bench(language);
        CGuiFixture& fixture = *bench.fixture;
        CProgramDoc* doc = fixture.Doc();
        CRadioImage radioImage = RadioImage(bench, channel);
        for (int a = 0x300; tables && a < 0x400; a = a == 0x31F ? 0x3E0 : a + 1)
            radioImage.SetByte(a, std::uint8_t(radioImage.Byte(a) ^ 0xFF));
        if (band >= 0)
            radioImage.SetByte(ImageMap::kFrequencyBand, std::uint8_t(band));
        bench.radio->SetMemory(BytesOf(radioImage));
        const CRadioImage before = doc->m_Image;
        if (answer)
            fixture.answers << QMessageBox::StandardButton(answer);
        bool warned = false;
        QList<bool> marked;

        QStringList shown;
        QList<QStringList> listed, others;
        bool writeEnabled = false;
        fixture.onDialog = [&](QDialog& dialog) {
            auto* compare = qobject_cast<CCompareDlg*>(&dialog);
            if (!compare)
                return int(QDialog::Rejected);
            shown << compare->Summary()->text();
            if (!compare->NotWrittenSummary()->isHidden())
                shown << compare->NotWrittenSummary()->text();
            for (int i = 0; i < compare->Differences()->topLevelItemCount(); ++i) {
                const QTreeWidgetItem* item = compare->Differences()->topLevelItem(i);
                listed << QStringList { item->text(0), item->text(1), item->text(2) };
                marked << item->font(0).bold();
            }
            for (int i = 0; i < compare->NotWritten()->topLevelItemCount(); ++i)
                others << QStringList { compare->NotWritten()->topLevelItem(i)->text(0) };
            writeEnabled = compare->WriteButton()->isEnabled();
            warned = !compare->KindWarning()->isHidden();
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
        QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), 20000);

        QCOMPARE(shown, summaries);
        QCOMPARE(listed.size(), (channel ? 8 : 0) + (band >= 0 ? 1 : 0)); // every field of the new channel
        QCOMPARE(listed.value(0), first);
        // Only the band line is marked, and the window says what writing across it would do.
        QCOMPARE(marked.count(true), band >= 0 ? 1 : 0);
        QCOMPARE(marked.value(0), band >= 0);
        QCOMPARE(warned, band >= 0);
        const QList<QStringList> apart { { "Bytes 0x300-0x31F" }, { "Bytes 0x3E0-0x3FA" } };
        QCOMPARE(others, tables ? apart : QList<QStringList>());
        QCOMPARE(writeEnabled, canWrite);
        QCOMPARE(doc->m_Image, before);
        QVERIFY(fixture.RowTexts(1).join(QString()).isEmpty());
        QVERIFY(!doc->IsModified());
        // Logged as a compare, under no file: nothing was read into the document or its file.
        const QList<CLogRecord> records = CProgramLog().Read(false).records;
        QVERIFY(!records.isEmpty());
        QCOMPARE(QStringList({ records.last().direction, records.last().file }), QStringList({ "compare", "" }));
        if (!write) {
            QVERIFY(!progress->isVisible());
            return;
        }
        const QStringList asked { "The radio on COM1 is not of the document's type or band:\n"
                                  "Frequency: document 130 - 160MHz, radio 400 - 470MHz\n"
                                  "Write the document into this radio anyway?" };
        QCOMPARE(bench.Messages(), band >= 0 ? asked : QStringList());
        if (band >= 0 && answer != QMessageBox::Yes) {
            // No, the safe answer: nothing opens and nothing is sent.
            QVERIFY(!progress->isVisible());
            QCOMPARE(Bytes(bench.radio->Memory()), Bytes(BytesOf(radioImage)));
            return;
        }
        // Write to Radio opens the write's progress window; its OK sends the document.
        QTRY_VERIFY_WITH_TIMEOUT(progress->isVisible(), 20000);
        QCOMPARE(progress->windowTitle(), CProcessDlg::CaptionFor(false));
        QTest::mouseClick(progress->OkButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!progress->isVisible(), 20000);
        QCOMPARE(fixture.messages.size(), band >= 0 ? 1 : 0);
        const RadioMemory::Bytes after = bench.radio->Memory();
        QVERIFY(std::equal(after.begin() + 16, after.begin() + 32, doc->m_Image.ChannelRecord(1).begin()));
    }
};

QTEST_MAIN(TestCompareWindow)
#include "tst_compare_window.moc"
