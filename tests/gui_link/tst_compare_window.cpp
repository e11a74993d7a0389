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
    void listGrows();

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
        QTest::addColumn<bool>("flags"); // the radio's channel 10 keeps other bits in its flag bytes
        QTest::addColumn<QStringList>("under"); // the one row under the closed heading of other bytes
        const QStringList channel { "Channel 1 Rx Frequency", "(empty)", "150.12500" };
        const QString eight = "8 difference(s) between the document and the radio:";
        const QString same = "The radio holds what Write sends.";
        const QString notWritten = "Not written by Write (only in service mode), 12 difference(s):";
        QTest::newRow("a channel, Close")
            << "English" << false << true << false << false << QStringList { eight } << channel << true << -1 << 0 << false << QStringList();
        QTest::newRow("Chinese, a channel, Write to Radio")
            << "Chinese" << false << true << false << true << QStringList { "文档与电台之间有 8 处不同:" }
            << QStringList { "信道 1 接收频率", "(空)", "150.12500" } << true << -1 << 0 << false << QStringList();
        QTest::newRow("nothing differs")
            << "English" << false << false << false << false
            << QStringList { "The radio holds what the document holds." } << QStringList() << false << -1 << 0 << false << QStringList();
        QTest::newRow("after a normal write: only the tables differ")
            << "English" << false << false << true << false << QStringList { same, notWritten }
            << QStringList() << false << -1 << 0 << false << QStringList();
        QTest::newRow("a channel differs too") << "English" << false << true << true << false
                                               << QStringList { eight, notWritten } << channel << true << -1 << 0 << false << QStringList();
        QTest::newRow("service mode: Write may send the tables")
            << "English" << true << false << true << false
            << QStringList { same,
                   "Written only when Write is told to replace the power and alignment tables, 12 "
                   "difference(s):" }
            << QStringList() << true << -1 << 0 << false << QStringList();
        const QStringList band { "Frequency", "130 - 160MHz", "400 - 470MHz" };
        QTest::newRow("a radio of another band: first and marked, Enter keeps it out")
            << "English" << false << true << false << true << QStringList { "9 difference(s) between the document and the radio:" }
            << band << true << 2 << 0 << false << QStringList();
        QTest::newRow("a radio of another band, Yes writes")
            << "English" << false << true << false << true << QStringList { "9 difference(s) between the document and the radio:" }
            << band << true << 2 << int(QMessageBox::Yes) << false << QStringList();
        // Flag bits no column shows: one closed heading, the bytes named under it, and what they are.
        QTest::newRow("flag bits no column shows, under a closed heading")
            << "English" << false << false << false << false
            << QStringList { "1 difference(s) between the document and the radio:" }
            << QStringList { "Other bytes, 1 difference(s)", "", "" } << true << -1 << 0 << true
            << QStringList { "Channel 10 flag bytes 12-13 (0x0AC-0x0AD)", "F7 BF", "17 3F",
                   "byte 12 bits 5-7: not used by this program; byte 13 bit 7: not used by this program" };
        QTest::newRow("flag bits, Chinese")
            << "Chinese" << false << false << false << false << QStringList { "文档与电台之间有 1 处不同:" }
            << QStringList { "其他字节, 1 处不同", "", "" } << true << -1 << 0 << true
            << QStringList { "信道 10 标志字节 12-13 (0x0AC-0x0AD)", "F7 BF", "17 3F",
                   "字节 12 位 5-7: 本程序不使用; 字节 13 位 7: 本程序不使用" };
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
        QFETCH(bool, flags);
        QFETCH(QStringList, under);
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
        if (flags) {
            radioImage.SetByte(0x0AC, std::uint8_t(radioImage.Byte(0x0AC) ^ 0xE0));
            radioImage.SetByte(0x0AD, std::uint8_t(radioImage.Byte(0x0AD) ^ 0x80));
        }
        bench.radio->SetMemory(BytesOf(radioImage));
        const CRadioImage before = doc->m_Image;
        if (answer)
            fixture.answers << QMessageBox::StandardButton(answer);
        bool warned = false;
        QList<bool> marked;

        QStringList shown;
        QList<QStringList> listed, others, children;
        bool writeEnabled = false, closed = true;
        QString note;
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
                closed = closed && !item->isExpanded();
                for (int k = 0; k < item->childCount(); ++k)
                    children << QStringList { item->child(k)->text(0), item->child(k)->text(1),
                        item->child(k)->text(2), item->child(k)->text(3) };
            }
            if (!compare->OtherBytesNote()->isHidden())
                note = compare->OtherBytesNote()->text();
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
        QCOMPARE(listed.size(), (channel ? 8 : 0) + (band >= 0 ? 1 : 0) + (flags ? 1 : 0)); // every field of the new channel
        QCOMPARE(listed.value(0), first);
        QCOMPARE(children, under.isEmpty() ? QList<QStringList>() : QList<QStringList> { under });
        QVERIFY(closed);
        // Under the list, the line saying what those bytes are and why they can differ.
        const QString notePrefix = language == QLatin1String("Chinese") ? QStringLiteral("写入时这些字节照原样发送")
                                                                        : QStringLiteral("A write sends these bytes as they are");
        QCOMPARE(!note.isEmpty() && note.startsWith(notePrefix), flags);
        // Only the band line is marked, and the window says what writing across it would do.
        QCOMPARE(marked.count(true), band >= 0 ? 1 : 0);
        QCOMPARE(marked.value(0), band >= 0);
        QCOMPARE(warned, band >= 0);
        const QList<QStringList> apart { { "Alignment, bytes 0x300-0x30D" },
            { "Narrow squelch threshold and band class, byte 0x30E" }, { "Alignment, bytes 0x30F-0x31F" },
            { "Power table entry 1, bytes 0x3E0-0x3E2" }, { "Power table entry 2, bytes 0x3E3-0x3E5" },
            { "Power table entry 3, bytes 0x3E6-0x3E8" }, { "Power table entry 4, bytes 0x3E9-0x3EB" },
            { "Power table entry 5, bytes 0x3EC-0x3EE" }, { "Power table entry 6, bytes 0x3EF-0x3F1" },
            { "Power table entry 7, bytes 0x3F2-0x3F4" }, { "Power table entry 8, bytes 0x3F5-0x3F7" },
            { "Power table entry 9, bytes 0x3F8-0x3FA" } };
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

// A long list shows more than 8 rows at once, and a taller window shows more of it.
void TestCompareWindow::listGrows()
{
    std::vector<ImageDiff::Difference> differences;
    for (int channel = 1; channel <= 16; ++channel)
        differences.push_back({ QStringLiteral("Channel %1 Rx Frequency").arg(channel), "(empty)", "150.12500",
            ImageDiff::Group::Channel, {} });
    CCompareDlg dialog(differences, { { "Power table entry 1, bytes 0x3E0-0x3E2", "4D 9B FF", "00 9B FF",
                                         ImageDiff::Group::ServiceTable, {} } },
        false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTreeWidget* list = dialog.Differences();
    const int row = list->visualItemRect(list->topLevelItem(0)).height();
    QVERIFY(row > 0);
    const int shown = list->viewport()->height() / row;
    QVERIFY2(shown > 8, qPrintable(QString::number(shown)));
    dialog.resize(dialog.width(), dialog.height() + 20 * row);
    QTRY_VERIFY(list->viewport()->height() / row >= shown + 10);
}

QTEST_MAIN(TestCompareWindow)
#include "tst_compare_window.moc"
