#include "tests/dialogs/MenuDialog.h"
#include "tests/gui/GuiFixture.h"

#include "app/BatchMenu.h"
#include "app/MainFrame.h"
#include "dialogs/ProductInfoDlg.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"
#include "link/BatchWriteDlg.h"
#include "link/ProcessDlg.h"
#include "widgets/MSFlexGrid.h"

#include <QComboBox>
#include <QTest>

using MenuDialog::drive;

namespace {

// The grid's frequency cells that carry the outside-the-band mark, as "row:col".
QStringList markedCells(const CGuiFixture& f)
{
    QStringList cells;
    for (int row = 1; row <= 16; ++row)
        for (int col = 1; col <= 8; ++col)
            if (f.Grid()->IsCellMarked(row, col))
                cells << QString("%1:%2").arg(row).arg(col);
    return cells;
}

} // namespace

// A band chosen in Product Information reaches the grid: the check of the next frequency, and the marks
// on the channels the new band leaves out.
class TestBandChange : public QObject {
    Q_OBJECT

private slots:
    // The grid checks the next frequency against the band chosen in the dialog.
    void productBandReachesTheGrid()
    {
        CGuiFixture f;
        QVERIFY(f.Start());
        QVERIFY(drive<CProductInfoDlg>(f, CMainFrame::kProductInformation, [](CProductInfoDlg* dialog) {
            dialog->BandBox()->setCurrentIndex(2); // 400 - 470MHz
            dialog->accept();
        }));
        QApplication::setActiveWindow(f.Frame()); // back from the dialog
        f.ClickCell(1, 1);
        f.Type("450");
        f.PressEnter();
        QCOMPARE(f.messages.size(), 0);
        QCOMPARE(f.RowTexts(1).value(0), QString("450.00000"));
        f.ClickCell(2, 1);
        f.Type("146.5");
        f.PressEnter();
        QCOMPARE(f.messages.size(), 1);
        // The message names the channel, the value and the new band as its list names it, with the
        // limit the grid really takes (471, the listed top's whole megahertz).
        QCOMPARE(f.messages[0].text,
            QString("Out of range,please input again.\nChannel 2: 146.5 MHz is outside the band 400 - 470MHz, "
                    "which takes 400 to 471 MHz (all of 470.xxxxx included)."));
    }

    void bandChangeNamesChannelsLeftOut_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("band"); // chosen in the dialog
        QTest::addColumn<QStringList>("messages"); // after OK, then at Write (answered No)
        QTest::addColumn<QStringList>("marked"); // frequency cells marked outside the band, "row:col"
        const QString after = QStringLiteral(" They keep their frequencies; change them, or Write will ask before it "
                                             "sends them to a radio.");
        QTest::newRow("into the 400s") << "English" << 2
                                       << QStringList { "Channel(s) 1, 2, 16 lie outside the new band 400 - 470MHz." + after,
                                              "Channel(s) 1, 2, 16 lie outside the band 400 - 470MHz: the radio may "
                                              "not work on them.\nWrite them to the radio anyway?" }
                                       << QStringList { "1:1", "1:2", "2:1", "2:2", "16:1", "16:2" };
        // 136 - 174MHz keeps 150.125 and leaves out a receive frequency of 135 and a transmit of 131.5.
        QTest::newRow("a neighbouring band")
            << "English" << 1
            << QStringList { "Channel(s) 2, 16 lie outside the new band 136 - 174MHz." + after,
                   "Channel(s) 2, 16 lie outside the band 136 - 174MHz: the radio may not work on them.\n"
                   "Write them to the radio anyway?" }
            << QStringList { "2:1", "2:2", "16:2" };
        QTest::newRow("Chinese") << "Chinese" << 2
                                 << QStringList { "信道 1, 2, 16 超出新频段 400 - 470MHz。这些信道保留原频率; 请修改, "
                                                  "否则写入电台前会再次询问。",
                                        "信道 1, 2, 16 超出频段 400 - 470MHz: 电台可能无法在这些信道上工作。\n"
                                        "仍然写入电台吗?" }
                                 << QStringList { "1:1", "1:2", "2:1", "2:2", "16:1", "16:2" };
        QTest::newRow("same band: nothing to say") << "English" << 0 << QStringList {} << QStringList {};
    }

    // Channels typed for 130 - 160MHz: those the new band leaves out are named on OK and keep their
    // bytes; Write lists them again and sends nothing on No.
    void bandChangeNamesChannelsLeftOut()
    {
        QFETCH(QString, language);
        QFETCH(int, band);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, marked);
        CGuiFixture f(language);
        QVERIFY(f.Start());
        for (const auto& [row, col, text] : { std::tuple { 1, 1, "150.125" }, { 2, 1, "135" }, { 16, 1, "137" },
                 { 16, 2, "131.5" } }) {
            f.ClickCell(row, col);
            f.Type(QString::fromLatin1(text));
            f.PressEnter();
        }
        QCOMPARE(f.messages.size(), 0);
        const QByteArray channels = QByteArray(reinterpret_cast<const char*>(f.Doc()->m_Image.Data().data()), 0x110);
        QVERIFY(drive<CProductInfoDlg>(f, CMainFrame::kProductInformation, [band](CProductInfoDlg* dialog) {
            dialog->BandBox()->setCurrentIndex(band);
            dialog->accept();
        }));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(f.Doc()->m_Image.Data().data()), 0x110), channels);
        QCOMPARE(f.RowTexts(16).mid(0, 2), (QStringList { "137.00000", "131.50000" }));
        QCOMPARE(markedCells(f), marked);
        QApplication::setActiveWindow(f.Frame());
        f.Frame()->FindCommand(CMainFrame::kWrite)->trigger();
        QCOMPARE(f.MessageTexts(), messages);
        // Enter answers No: no transfer window; without channels outside it opens as always.
        QCOMPARE(f.View()->ProcessDlg()->isVisible(), messages.isEmpty());
        f.View()->ProcessDlg()->reject();
        // Batch Write asks the same before any radio of the batch gets them; No opens no batch.
        CBatchMenu* batch = f.Frame()->findChild<CBatchMenu*>();
        QVERIFY(batch);
        batch->BatchWriteAction()->trigger();
        QCOMPARE(f.MessageTexts(), messages + messages.mid(1));
        QCOMPARE(batch->Dialog() != nullptr, messages.isEmpty());
        if (batch->Dialog())
            batch->Dialog()->reject();
        if (marked.isEmpty())
            return;
        // The mark says why in its tool tip, and goes once the channel is brought into the band.
        const QTableWidgetItem* cell = f.Grid()->item(2, 1);
        QCOMPARE(cell->background().color(), CMSFlexGrid::MarkColor());
        QCOMPARE(cell->toolTip(), language == "Chinese"
                ? QString("超出频段 400 - 470MHz (400 至 471 MHz)。保持原样; 写入前会询问。输入本频段内的频率即可清除标记。")
                : band == 1 ? QString("Outside the band 136 - 174MHz (136 to 175 MHz). Kept as it is; Write asks "
                                      "before sending it. Type a frequency of the band to clear the mark.")
                            : QString("Outside the band 400 - 470MHz (400 to 471 MHz). Kept as it is; Write asks "
                                      "before sending it. Type a frequency of the band to clear the mark."));
        QApplication::setActiveWindow(f.Frame());
        f.ClickCell(2, 1);
        f.Type(band == 1 ? "145" : "445");
        f.PressEnter();
        // The receive frequency is in the band now; the transmit one, still 135, keeps its mark.
        QVERIFY(!markedCells(f).contains("2:1") && markedCells(f).contains("2:2"));
        QCOMPARE(markedCells(f).size(), marked.size() - 1);
        QVERIFY(f.Grid()->item(2, 1)->data(Qt::BackgroundRole).isNull());
        // Undo brings the channel and its mark back.
        f.Doc()->Undo();
        QCOMPARE(markedCells(f), marked);
    }
};

QTEST_MAIN(TestBandChange)
#include "tst_band_change.moc"
