#include "GuiFixture.h"

#include "app/ChildFrame.h"
#include "config/StringTable.h"
#include "radio/ChannelCodec.h"
#include "widgets/MSFlexGrid.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"
#include "tests/common/TypedTones.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

// The channel grid as a user drives it: typing, choosing, Enter and clicks, and what it says.
class TestChannelView : public QObject {
    Q_OBJECT

private:
    static const QStringList& NewChannel()
    {
        static const QStringList row { "146.50000", "146.50000", "None", "None", "Wide", "Yes", "Off",
            "High" };
        return row;
    }
    // Channel 5 in the band 130 - 160MHz, which the grid takes up to 161.
    static QString OutOfRange(const char* typed)
    {
        return QString("Out of range,please input again.\nChannel 5: %1 MHz is outside the band 130 - 160MHz, which "
                       "takes 130 to 161 MHz (all of 160.xxxxx included).")
            .arg(typed);
    }
    static QString OffStep(const char* typed, const char* nearest)
    {
        return QString("Error data Value, please input according the step value(6.25K/5k).\nChannel 5: %1 MHz is "
                       "not on a 5 kHz or 6.25 kHz step. Nearest: %2 MHz.")
            .arg(typed, nearest);
    }

private slots:
    void typingAFrequency_data()
    {
        QTest::addColumn<bool>("existing"); // row 5 holds channel 146.5 before
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byEnter"); // else by clicking cell (9, 1)
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QPoint>("current"); // (row, col) afterwards

        const QStringList empty(8, QString());
        QStringList txCopied = NewChannel();
        QStringList txOwn = NewChannel();
        txOwn[1] = "147.12500";

        QTest::newRow("new channel gets its defaults")
            << false << 1 << "146.5" << true << NewChannel() << "" << QPoint(5, 2);
        QTest::newRow("above the band")
            << false << 1 << "165" << true << empty << OutOfRange("165") << QPoint(5, 1);
        QTest::newRow("letters are no frequency")
            << false << 1 << "abc" << true << empty << "Error Data Format, please input again." << QPoint(5, 1);
        QTest::newRow("off the channel step")
            << false << 1 << "146.5123" << true << empty << OffStep("146.5123", "146.51 or 146.5125") << QPoint(5, 1);
        QTest::newRow("6.25 kHz step")
            << false << 1 << "150.00625" << false
            << QStringList { "150.00625", "150.00625", "None", "None", "Wide", "Yes", "Off", "High" } << ""
            << QPoint(9, 1);
        QTest::newRow("emptied receive deletes") << true << 1 << "" << true << empty << "" << QPoint(5, 2);
        QTest::newRow("emptied transmit follows receive")
            << true << 2 << "" << true << txCopied << "" << QPoint(5, 3);
        QTest::newRow("own transmit frequency")
            << true << 2 << "147.125" << false << txOwn << "" << QPoint(9, 1);
        QTest::newRow("decimal comma") << false << 1 << "146,5" << true << NewChannel() << "" << QPoint(5, 2);
        // A refused frequency gives the cell back its text: a slip never deletes the channel.
        QTest::newRow("receive out of range over a channel, Enter")
            << true << 1 << "165" << true << NewChannel() << OutOfRange("165") << QPoint(5, 1);
        QTest::newRow("receive off step over a channel, click")
            << true << 1 << "146.5123" << false << NewChannel() << OffStep("146.5123", "146.51 or 146.5125") << QPoint(9, 1);
        QTest::newRow("transmit out of range, Enter")
            << true << 2 << "170" << true << NewChannel() << OutOfRange("170") << QPoint(5, 2);
        QTest::newRow("transmit out of range, click")
            << true << 2 << "170" << false << NewChannel() << OutOfRange("170") << QPoint(9, 1);
        QTest::newRow("transmit off step, Enter")
            << true << 2 << "146.501" << true << NewChannel() << OffStep("146.501", "146.5 or 146.505") << QPoint(5, 2);
        QTest::newRow("transmit off step, click")
            << true << 2 << "146.501" << false << NewChannel() << OffStep("146.501", "146.5 or 146.505") << QPoint(9, 1);
    }

    void typingAFrequency()
    {
        QFETCH(bool, existing);
        QFETCH(int, col);
        QFETCH(QString, typed);
        QFETCH(bool, byEnter);
        QFETCH(QStringList, row);
        QFETCH(QString, message);
        QFETCH(QPoint, current);

        CGuiFixture f;
        QVERIFY(f.Start());
        if (existing) {
            f.ClickCell(5, 1);
            f.Type("146.5");
            f.PressEnter();
            QCOMPARE(f.RowTexts(5), NewChannel());
            f.Doc()->SetModifiedFlag(false);
        }
        f.ClickCell(5, col);
        f.Type(typed);
        if (byEnter)
            f.PressEnter();
        else
            f.ClickCell(9, 1);

        QCOMPARE(f.RowTexts(5), row);
        QCOMPARE(f.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(f.messages[0].text, message);
            QCOMPARE(f.messages[0].caption, QString("Caution"));
            QCOMPARE(f.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        }
        QCOMPARE(QPoint(int(f.Grid()->GetRow()), int(f.Grid()->GetCol())), current);
        // Enter with a refused value leaves no editor open; a click goes on to the clicked cell's editor.
        QCOMPARE(f.VisibleEditor() != nullptr, message.isEmpty() || !byEnter);
        QCOMPARE(f.Doc()->IsModified(), row != (existing ? NewChannel() : QStringList(8, QString())));
    }

    void choosingFromAList_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("dropDown"); // picked in the open list, then Escape; else chosen and Enter
        QTest::addColumn<QString>("cell");
        QTest::newRow("bandwidth") << true << 5 << "Narrow" << false << "Narrow";
        QTest::newRow("power from the drop-down, then Escape") << true << 8 << "Low" << true << "Low";
        QTest::newRow("tone far down the drop-down, then Escape") << true << 3 << "D754I" << true << "D754I";
        QTest::newRow("drop-down on an empty row") << false << 6 << "No" << true << "";
        QTest::newRow("scan") << true << 6 << "No" << false << "No";
        QTest::newRow("busy lock") << true << 7 << "QT/DQT" << false << "QT/DQT";
        QTest::newRow("power") << true << 8 << "Low" << false << "Low";
        QTest::newRow("decode tone far down the list") << true << 3 << "D754I" << false << "D754I";
        QTest::newRow("encode tone") << true << 4 << "100.0" << false << "100.0";
        QTest::newRow("empty row stays empty") << false << 8 << "Low" << false << "";
    }

    void choosingFromAList()
    {
        QFETCH(bool, existing);
        QFETCH(int, col);
        QFETCH(QString, item);
        QFETCH(QString, cell);
        QFETCH(bool, dropDown);
        CGuiFixture f;
        QVERIFY(f.Start());
        if (existing) {
            f.ClickCell(2, 1);
            f.Type("146.5");
            f.PressEnter();
        }
        f.ClickCell(2, col);
        auto* list = qobject_cast<QComboBox*>(f.VisibleEditor());
        QVERIFY(list);
        // The editor opens on the cell's item; on an empty cell on the first item.
        QCOMPARE(list->currentText(), existing ? NewChannel()[col - 1] : list->itemText(0));
        if (dropDown) {
            // Picked with the keyboard in the open list: taken as the list closes, so the Escape
            // that follows loses nothing.
            list->showPopup();
            QAbstractItemView* view = list->view();
            QTRY_VERIFY(view->isVisible());
            view->setCurrentIndex(view->model()->index(list->findText(item), 0));
            QTest::keyClick(view, Qt::Key_Return);
            QTRY_VERIFY(!view->isVisible());
            QTRY_COMPARE(f.Grid()->GetTextMatrix(2, col), cell);
            if (QWidget* editor = f.VisibleEditor())
                QTest::keyClick(editor, Qt::Key_Escape);
            QTest::keyClick(f.Grid(), Qt::Key_Escape);
        } else {
            f.ChooseItem(item);
            f.PressEnter();
        }
        QCOMPARE(f.Grid()->GetTextMatrix(2, col), cell);
        QVERIFY(f.messages.isEmpty());
    }

    void typingATone_data()
    {
        TypedTones::AddRows();
    }

    // The tone cells take what is typed by the same rule as program-cli set: a listed tone in any of
    // its forms becomes the item; anything else is refused with the same message and the cell stays.
    void typingATone()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        CGuiFixture f;
        QVERIFY(f.Start());
        f.ClickCell(5, 1);
        f.Type("146.5");
        f.PressEnter();
        for (int col : { 3, 4 }) {
            f.messages.clear();
            f.ClickCell(5, col);
            f.Type(typed);
            f.PressEnter();
            QCOMPARE(f.Grid()->GetTextMatrix(5, col), stored.isEmpty() ? "None" : stored);
            QCOMPARE(f.messages.size(), stored.isEmpty() ? 1 : 0);
            if (stored.isEmpty())
                QCOMPARE(f.messages[0].text, TypedTones::kRefused);
            // A refused tone keeps the cell current, as a refused frequency does.
            QCOMPARE(int(f.Grid()->GetCol()), stored.isEmpty() ? col : col + 1);
        }
    }

    void enterWalksTheGrid_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::newRow("next column") << QPoint(3, 4) << QPoint(3, 5);
        QTest::newRow("end of a row") << QPoint(3, 8) << QPoint(4, 1);
        QTest::newRow("last cell wraps to the first") << QPoint(16, 8) << QPoint(1, 1);
    }

    void enterWalksTheGrid()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        CGuiFixture f;
        QVERIFY(f.Start());
        f.ClickCell(from.x(), from.y());
        f.PressEnter();
        QCOMPARE(QPoint(int(f.Grid()->GetRow()), int(f.Grid()->GetCol())), to);
        QWidget* editor = f.VisibleEditor();
        QVERIFY(editor);
        QCOMPARE(editor, f.View()->EditorForColumn(to.y()));
        QCOMPARE(QApplication::focusWidget(), editor);
        // The editor lies on the cell.
        const QRect cell = f.Grid()->visualRect(f.Grid()->model()->index(to.x(), to.y()));
        QCOMPARE(editor->geometry(), cell);
    }

    void typingAWholeRowWithEnter()
    {
        CGuiFixture f;
        QVERIFY(f.Start());
        f.ClickCell(16, 1);
        f.Type("159.9875");
        f.PressEnter();
        f.Type("155");
        f.PressEnter();
        f.Type("d023n"); // a tone typed as the CLI takes it
        f.PressEnter();
        for (int col = 4; col <= 8; ++col)
            f.PressEnter();
        QCOMPARE(f.RowTexts(16),
            (QStringList { "159.98750", "155.00000", "D023N", "None", "Wide", "Yes", "Off", "High" }));
        QCOMPARE(QPoint(int(f.Grid()->GetRow()), int(f.Grid()->GetCol())), QPoint(1, 1));
        QVERIFY(f.Child()->windowTitle().endsWith("[*]") && f.Child()->isWindowModified());
    }

    void visitingACellChangesNothing_data()
    {
        QTest::addColumn<QPoint>("cell");
        QTest::addColumn<QString>("choose"); // an item chosen in the list; empty to only look
        QTest::addColumn<bool>("byEnter"); // else by clicking cell (1, 1)
        QTest::addColumn<QString>("text"); // the cell afterwards
        QTest::newRow("unlisted tone") << QPoint(3, 3) << "" << false << "69.4";
        QTest::newRow("unlisted tone, Enter") << QPoint(3, 3) << "" << true << "69.4";
        QTest::newRow("DCS 777") << QPoint(3, 4) << "" << false << "D000N";
        QTest::newRow("half-filled transmit cell") << QPoint(4, 2) << "" << true << "";
        QTest::newRow("half-filled bandwidth") << QPoint(4, 5) << "" << false << "";
        QTest::newRow("frequency outside the band") << QPoint(5, 1) << "" << true << "450.00000";
        QTest::newRow("tone on an empty channel") << QPoint(6, 3) << "" << false << "88.5";
        QTest::newRow("unlisted tone, None chosen") << QPoint(3, 3) << "None" << false << "None";
    }

    // Opening a cell's editor and leaving it keeps the cell, the document unmodified and the bytes as
    // they came; only a real choice changes them.
    void visitingACellChangesNothing()
    {
        QFETCH(QPoint, cell);
        QFETCH(QString, choose);
        QFETCH(bool, byEnter);
        QFETCH(QString, text);
        CGuiFixture f;
        QVERIFY(f.Start());
        CRadioImage& image = f.Doc()->m_Image;
        const QByteArray records = QByteArray::fromHex("00206514 00206514 B602 FF29 1F EF 0000" // channel 3
                                                       "00206514 FFFFFFFF FFFF FFFF 00 00 0000" // half-filled
                                                       "00000045 00000045 FFFF FFFF 10 30 0000" // 450 MHz
                                                       "FFFFFFFF FFFFFFFF 7503 FFFF FF FF FFFF");
        image.CopyIn(3 * 16, { reinterpret_cast<const std::uint8_t*>(records.constData()), 64 });
        f.View()->ShowImage();
        const CRadioImage before = image;
        QStringList rows;
        for (int row = 1; row <= 16; ++row)
            rows << f.RowTexts(row).join('|');

        f.ClickCell(cell.x(), cell.y());
        QVERIFY(f.VisibleEditor());
        // A list shows the cell's text even when it holds no such item (an empty cell: its first item).
        if (auto* list = qobject_cast<QComboBox*>(f.VisibleEditor());
            list && !f.Grid()->GetTextMatrix(cell.x(), cell.y()).isEmpty())
            QCOMPARE(list->currentIndex() < 0 ? list->placeholderText() : list->currentText(),
                f.Grid()->GetTextMatrix(cell.x(), cell.y()));
        if (!choose.isEmpty())
            f.ChooseItem(choose);
        if (byEnter)
            f.PressEnter();
        else
            f.ClickCell(1, 1);

        QCOMPARE(f.Grid()->GetTextMatrix(cell.x(), cell.y()), text);
        QVERIFY(f.messages.isEmpty());
        QCOMPARE(f.Doc()->IsModified(), !choose.isEmpty());
        f.View()->StoreGrid();
        for (int row = 1; row <= 16; ++row) {
            if (row != cell.x())
                QCOMPARE(f.RowTexts(row).join('|'), rows.at(row - 1));
            QCOMPARE(std::ranges::equal(image.Range(row * 16, 16), before.Range(row * 16, 16)),
                choose.isEmpty() || row != cell.x());
        }
        QCOMPARE(image.Range(ImageMap::kScanFlags, 2)[0], before.Range(ImageMap::kScanFlags, 2)[0]);
    }

    // A channel without a transmit frequency shows as empty; once given one it shows the flags its
    // bytes hold (Narrow, Low), and a later store keeps them rather than write the empty cells.
    void halfFilledChannelGetsATransmitFrequency()
    {
        CGuiFixture f;
        QVERIFY(f.Start());
        CRadioImage& image = f.Doc()->m_Image;
        const QByteArray record = QByteArray::fromHex("00206514 FFFFFFFF FFFF FFFF 00 00 0000");
        image.CopyIn(4 * 16, { reinterpret_cast<const std::uint8_t*>(record.constData()), 16 });
        image.SetScanFlag(4, false);
        f.View()->ShowImage();
        QCOMPARE(f.RowTexts(4).join('|'), QString("146.52000|||||||"));
        f.ClickCell(4, 2);
        f.Type("146.52");
        f.PressEnter();
        QCOMPARE(f.RowTexts(4).join('|'), QString("146.52000|146.52000|None|None|Narrow|No|Off|Low"));
        f.ClickCell(5, 1);
        f.Type("150");
        f.PressEnter();
        f.View()->StoreGrid();
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(image.Range(4 * 16, 14).data()), 14).toHex(' '),
            QByteArray("00 20 65 14 00 20 65 14 ff ff ff ff 00 00"));
        QVERIFY(!image.ScanFlag(4));
    }

    void f1AsksForTheFocusedControlsTopic()
    {
        CGuiFixture f;
        QVERIFY(f.Start());
        f.ClickCell(1, 1);
        QTest::keyClick(f.VisibleEditor(), Qt::Key_F1);
        f.ClickCell(1, 7);
        QTest::keyClick(f.VisibleEditor(), Qt::Key_F1);
        f.Grid()->setFocus();
        QTest::keyClick(f.Grid(), Qt::Key_F1);
        QCOMPARE(f.helpTopics,
            (QList<int> { CProgramView::kRxEditId, CProgramView::kBusyLockId, CProgramView::kGridId }));
    }

    void chineseGrid()
    {
        CGuiFixture f("Chinese");
        QVERIFY(f.Start());
        QCOMPARE(f.Grid()->GetTextMatrix(0, 0), QString("信道"));
        QCOMPARE(f.Grid()->GetTextMatrix(0, 7), QString("繁忙锁定"));
        QCOMPARE(f.View()->TitleLine()->text(), QString("16信道手持对讲机编程"));
        f.ClickCell(1, 1);
        f.Type("146.5");
        f.PressEnter();
        QCOMPARE(
            f.RowTexts(1), (QStringList { "146.50000", "146.50000", "无", "无", "宽", "是", "关", "高" }));
        f.ClickCell(2, 1);
        f.Type("200");
        f.PressEnter();
        QCOMPARE(f.messages.size(), 1);
        QCOMPARE(f.messages[0].text, QString("超出范围,请重新输入.\n信道 2: 200 MHz 超出频段 130 - 160MHz, 该频段可用 130 至 161 MHz (含 160.xxxxx 全部)。"));
        QCOMPARE(f.messages[0].caption, QString("注意"));
    }

    void gridLooksAsItShould()
    {
        CGuiFixture f;
        QVERIFY(f.Start());
        CMSFlexGrid* grid = f.Grid();
        QCOMPARE(grid->GetRows(), 17L);
        QCOMPARE(grid->GetCols(), 9L);
        QCOMPARE(grid->GetForeColorFixed(), QColor(0, 50, 240));
        QCOMPARE(grid->GetColWidth(0), 765L); // twips: 0.51, 1.2 and 0.8 of the default 1,500
        QCOMPARE(grid->GetColWidth(1), 1800L);
        QCOMPARE(grid->GetColWidth(8), 1200L);
        QCOMPARE(grid->GetTextMatrix(9, 0), QString(" 9"));
        QCOMPARE(grid->GetColAlignment(4), CMSFlexGrid::kAlignCenterCenter);
        QCOMPARE(f.View()->TitleLine()->palette().color(QPalette::WindowText), QColor(250, 10, 10));
        QCOMPARE(f.View()->TitleLine()->font().pointSize(), 12);
        QCOMPARE(grid->font().pointSize(), 9);
        QCOMPARE(f.View()->m_ToneList.size(), 264);
        // Everything fits: no scrolling inside the grid.
        QCOMPARE(grid->sizeHint(), grid->size());
    }
};

QTEST_MAIN(TestChannelView)
#include "tst_channelview.moc"
