#include "widgets/MSFlexGrid.h"

#include <QTest>

// The grid control's promises to the views: leave before and enter after every change of the current
// cell, whoever makes it; texts kept exactly; cell geometry in twips in the editors' coordinates.
class TestFlexGrid : public QObject {
    Q_OBJECT

private:
    struct Fixture {
        CMSFlexGrid grid;
        QStringList log;
        Fixture()
        {
            grid.SetRows(17);
            grid.SetCols(9);
            grid.resize(grid.sizeHint());
            grid.show();
            QObject::connect(&grid, &CMSFlexGrid::LeaveCell, [this] { Note("leave"); });
            QObject::connect(&grid, &CMSFlexGrid::EnterCell, [this] { Note("enter"); });
        }
        void Note(const char* what)
        {
            log << QStringLiteral("%1 %2,%3").arg(what).arg(grid.GetRow()).arg(grid.GetCol());
        }
        QPoint Centre(int row, int col) { return grid.visualRect(grid.model()->index(row, col)).center(); }
    };

private slots:
    void leaveBeforeEnterAfter_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("program sets Row") << "row" << QStringList { "leave 1,1", "enter 5,1" };
        QTest::newRow("program sets Col") << "col" << QStringList { "leave 1,1", "enter 1,4" };
        QTest::newRow("user clicks") << "click" << QStringList { "leave 1,1", "enter 3,2" };
        QTest::newRow("user presses Down") << "down" << QStringList { "leave 1,1", "enter 2,1" };
        QTest::newRow("same cell again") << "same" << QStringList {};
        QTest::newRow("fixed row by program") << "fixedrow" << QStringList {};
        QTest::newRow("fixed cell clicked") << "fixedclick" << QStringList {};
        QTest::newRow("beyond the last row") << "beyond" << QStringList {};
    }

    void leaveBeforeEnterAfter()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, expected);
        Fixture f;
        if (how == "row")
            f.grid.SetRow(5);
        else if (how == "col")
            f.grid.SetCol(4);
        else if (how == "click")
            QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.Centre(3, 2));
        else if (how == "down") {
            f.grid.setFocus();
            QTest::keyClick(&f.grid, Qt::Key_Down);
        } else if (how == "same")
            f.grid.SetRow(1);
        else if (how == "fixedrow")
            f.grid.SetRow(0);
        else if (how == "fixedclick")
            QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.Centre(0, 3));
        else if (how == "beyond")
            f.grid.SetRow(17);
        QCOMPARE(f.log, expected);
    }

    void mouseDownFollowsTheMoveAndNamesTheCellUnderTheMouse()
    {
        Fixture f;
        QObject::connect(&f.grid, &CMSFlexGrid::MouseDown, [&f] {
            f.log << QStringLiteral("down %1,%2 mouse %3,%4")
                         .arg(f.grid.GetRow())
                         .arg(f.grid.GetCol())
                         .arg(f.grid.GetMouseRow())
                         .arg(f.grid.GetMouseCol());
        });
        QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.Centre(1, 1));
        QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.Centre(0, 5));
        QCOMPARE(f.log, (QStringList { "down 1,1 mouse 1,1", "down 1,1 mouse 0,5" }));
    }

    void textsComeBackExactly()
    {
        Fixture f;
        const QStringList texts { "", " 146.50000 ", "QT/DQT", "繁忙锁定", "a\tb" };
        for (int i = 0; i < texts.size(); ++i)
            f.grid.SetTextMatrix(i + 1, 2, texts[i]);
        for (int i = 0; i < texts.size(); ++i)
            QCOMPARE(f.grid.GetTextMatrix(i + 1, 2), texts[i]);
        f.grid.SetRow(3);
        f.grid.SetCol(2);
        QCOMPARE(f.grid.GetText(), texts[2]);
        QCOMPARE(f.grid.GetTextMatrix(40, 40), QString());
    }

    void cellGeometryIsInTwipsOfTheEditorsParent()
    {
        Fixture f;
        const long perPixel = CMSFlexGrid::kTwipsPerInch / f.grid.logicalDpiX();
        f.grid.SetColWidth(3, 1800);
        QCOMPARE(f.grid.GetColWidth(3), 1800L);
        QCOMPARE(f.grid.GetColWidth(4), CMSFlexGrid::kDefaultColWidth);
        f.grid.SetRow(2);
        f.grid.SetCol(3);
        const QRect cell = f.grid.visualRect(f.grid.model()->index(2, 3));
        QCOMPARE(f.grid.GetCellLeft(), cell.left() * perPixel);
        QCOMPARE(f.grid.GetCellTop(), cell.top() * perPixel);
        QCOMPARE(f.grid.GetCellWidth(), cell.width() * perPixel);
        QCOMPARE(f.grid.GetCellHeight(), cell.height() * perPixel);
        QCOMPARE(f.grid.GetColPos(3), f.grid.GetColWidth(0) + f.grid.GetColWidth(1) + f.grid.GetColWidth(2));
        QCOMPARE(f.grid.GetRowPos(2), 2 * f.grid.GetRowHeight(0));
    }
};

QTEST_MAIN(TestFlexGrid)
#include "tst_flexgrid.moc"
