#include "GuiFixture.h"

#include "app/ChildFrame.h"
#include "widgets/HelpLayer.h"
#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "editor/MSFlexGrid.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

// The main window as a person meets it: small screens, the keys of the grid, the file dialogs'
// folders, help and the window's face.
class TestMainWindow : public QObject {
    Q_OBJECT

private:
    // The part of cell (row, col) that can be seen in the main window's document area.
    static QRect SeenPart(CGuiFixture& f, int row, int col)
    {
        CMSFlexGrid* grid = f.Grid();
        QWidget* area = f.App().MainFrame()->MdiArea()->viewport();
        QRect cell = grid->visualRect(grid->model()->index(row, col));
        cell.moveTopLeft(grid->viewport()->mapTo(area, cell.topLeft()));
        QRect seen = cell & area->rect();
        for (QWidget* clip = grid->viewport(); clip && clip != area; clip = clip->parentWidget())
            seen &= QRect(clip->mapTo(area, QPoint()), clip->size());
        return seen;
    }

    static QPoint Current(CGuiFixture& f) { return QPoint(int(f.Grid()->GetRow()), int(f.Grid()->GetCol())); }

private slots:
    void everyCellReachable_data()
    {
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<bool>("maximisedChild");
        QTest::newRow("800 x 450") << QSize(800, 450) << false;
        QTest::newRow("smaller than allowed") << QSize(200, 150) << false;
        QTest::newRow("maximised channel window") << QSize(1280, 800) << true;
    }

    // Whatever the window's size, the scroll bars bring channel 16 and the Power column into sight;
    // the window never shrinks below a size that leaves room for the grid; a maximised channel window
    // keeps its grid in the middle.
    void everyCellReachable()
    {
        QFETCH(QSize, frame);
        QFETCH(bool, maximisedChild);
        CGuiFixture f;
        QVERIFY(f.Start());
        CMainFrame* main = f.App().MainFrame();
        main->showNormal();
        main->resize(frame);
        if (maximisedChild)
            f.Child()->showMaximized();
        QTRY_VERIFY(main->width() >= qMin(frame.width(), 800));
        QVERIFY(main->width() >= 500 && main->height() >= 300);
        QVERIFY(main->minimumWidth() <= 800 && main->minimumHeight() <= 450);

        auto* scroller = qobject_cast<QScrollArea*>(f.Child()->widget());
        QVERIFY(scroller);
        QTRY_VERIFY(f.App().MainFrame()->MdiArea()->viewport()->rect().contains(f.Child()->geometry()));
        for (const QPoint& cell : { QPoint(16, 8), QPoint(1, 1), QPoint(16, 1), QPoint(1, 8) }) {
            scroller->horizontalScrollBar()->setValue(
                cell.y() == 8 ? scroller->horizontalScrollBar()->maximum() : 0);
            scroller->verticalScrollBar()->setValue(
                cell.x() == 16 ? scroller->verticalScrollBar()->maximum() : 0);
            const QRect whole = f.Grid()->visualRect(f.Grid()->model()->index(cell.x(), cell.y()));
            QCOMPARE(SeenPart(f, cell.x(), cell.y()).size(), whole.size());
        }
        if (maximisedChild) // as much room left of the grid as right of it
            QVERIFY(qAbs(f.View()->x() + f.View()->geometry().right() - scroller->viewport()->width()) <= 2);

        // Keys reach the far cells too: the edited cell is scrolled into sight. A channel window
        // restored from maximised after the main window shrank fits the smaller area.
        main->resize(800, 450);
        f.Child()->showNormal();
        QTRY_VERIFY(f.App().MainFrame()->MdiArea()->viewport()->rect().contains(f.Child()->geometry()));
        f.ClickCell(16, 7);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(Current(f), QPoint(16, 8));
        QTRY_VERIFY(!SeenPart(f, 16, 8).isEmpty());
    }

    void gridKeys_data()
    {
        QTest::addColumn<QPoint>("start"); // row 3 holds a channel at 146.5
        QTest::addColumn<QString>("typed"); // null: nothing typed
        QTest::addColumn<int>("key");
        QTest::addColumn<QPoint>("current");
        QTest::addColumn<QString>("startText"); // the start cell afterwards
        QTest::addColumn<bool>("refused");

        const int tab = Qt::Key_Tab;
        const int back = Qt::Key_Backtab;
        const int escape = Qt::Key_Escape;
        QTest::newRow("Tab commits and moves on")
            << QPoint(3, 2) << "147.125" << tab << QPoint(3, 3) << "147.12500" << false;
        QTest::newRow("Tab at column 8 goes to the next row")
            << QPoint(3, 8) << QString() << tab << QPoint(4, 1) << "High" << false;
        QTest::newRow("Tab at the last cell wraps to the first")
            << QPoint(16, 8) << QString() << tab << QPoint(1, 1) << "" << false;
        QTest::newRow("Tab on a refused value stays")
            << QPoint(3, 1) << "999" << tab << QPoint(3, 1) << "" << true;
        QTest::newRow("Shift+Tab commits and goes back")
            << QPoint(3, 2) << "147.125" << back << QPoint(3, 1) << "147.12500" << false;
        QTest::newRow("Shift+Tab at column 1 goes to column 8 above")
            << QPoint(3, 1) << QString() << back << QPoint(2, 8) << "146.50000" << false;
        QTest::newRow("Shift+Tab at the first cell wraps to the last")
            << QPoint(1, 1) << QString() << back << QPoint(16, 8) << "" << false;
        QTest::newRow("Escape drops the typed text")
            << QPoint(3, 1) << "150" << escape << QPoint(3, 1) << "146.50000" << false;
    }

    void gridKeys()
    {
        QFETCH(QPoint, start);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QPoint, current);
        QFETCH(QString, startText);
        QFETCH(bool, refused);
        CGuiFixture f;
        QVERIFY(f.Start());
        f.ClickCell(3, 1);
        f.Type(QStringLiteral("146.5"));
        f.PressEnter();
        f.Doc()->SetModifiedFlag(false);
        const QStringList row5 = f.RowTexts(5);

        f.ClickCell(start.x(), start.y());
        if (!typed.isNull())
            f.Type(typed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));

        QCOMPARE(Current(f), current);
        QCOMPARE(f.Grid()->GetTextMatrix(start.x(), start.y()), startText);
        QCOMPARE(f.messages.size(), refused ? 1 : 0);
        if (key == Qt::Key_Escape) {
            QVERIFY(!f.VisibleEditor());
            QVERIFY(!f.Doc()->IsModified());
            QCOMPARE(f.RowTexts(5), row5);
            // The cell is still the current one and opens again with its own text.
            f.ClickCell(start.x(), start.y());
            QCOMPARE(qobject_cast<QLineEdit*>(f.VisibleEditor())->text(), startText);
        } else if (!refused) {
            QVERIFY(f.VisibleEditor()); // the next cell's editor is open, as after Enter
        }
    }

    void fileDialogFolders_data()
    {
        QTest::addColumn<bool>("documents"); // the user has a documents folder
        QTest::newRow("documents folder") << true;
        QTest::newRow("no documents folder") << false;
    }

    // Open and Save As start in the documents folder (else home) the first time, then wherever the
    // user last took a file from or put one; never in the working folder.
    void fileDialogFolders()
    {
        QFETCH(bool, documents);
        const QString documentsPath = QDir::home().filePath(QStringLiteral("Documents"));
        if (documents)
            QVERIFY(QDir().mkpath(documentsPath));
        else
            QDir(documentsPath).removeRecursively();
        CGuiFixture f;
        QVERIFY(f.Start());
        CMainFrame* main = f.App().MainFrame();
        const QString first = documents ? documentsPath : QDir::homePath();
        QVERIFY(first != QDir::currentPath());

        main->FindCommand(CMainFrame::kFileOpen)->trigger(); // cancelled
        f.fileAnswers << f.DataPath(QStringLiteral("radio.dat"));
        main->FindCommand(CMainFrame::kFileSaveAs)->trigger();
        main->FindCommand(CMainFrame::kFileOpen)->trigger();
        QCOMPARE(f.filePrompts.size(), 3);
        QCOMPARE(QDir(f.filePrompts[0].folder).canonicalPath(), QDir(first).canonicalPath());
        QCOMPARE(QDir(f.filePrompts[1].folder).canonicalPath(), QDir(first).canonicalPath());
        QCOMPARE(f.filePrompts[2].folder, QFileInfo(f.DataPath(QStringLiteral("radio.dat"))).absolutePath());
        QVERIFY(QFile::exists(f.DataPath(QStringLiteral("radio.dat"))));
    }

    void helpFromMenus_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("Setup > Language") << int(CMainFrame::kLanguage);
        QTest::newRow("Program > Read") << int(CMainFrame::kRead);
        QTest::newRow("File > Open") << int(CMainFrame::kFileOpen);
    }

    // F1 on a highlighted menu item closes the menu and opens the topic numbered like its command.
    void helpFromMenus()
    {
        QFETCH(int, command);
        CGuiFixture f;
        QVERIFY(f.Start());
        CMainFrame* main = f.App().MainFrame();
        QMenu* menu = main->MenuOf(command);
        menu->popup(main->mapToGlobal(QPoint(10, 10)));
        QTRY_VERIFY(menu->isVisible());
        menu->setActiveAction(main->FindCommand(command));
        QTest::keyClick(menu, Qt::Key_F1);
        QCOMPARE(f.helpTopics, QList<int> { command });
        QVERIFY(!menu->isVisible());
        QVERIFY(f.filePrompts.isEmpty() && f.messages.isEmpty()); // the command itself did not run
    }

    void helpBesideTheWindow_data()
    {
        QTest::addColumn<QRect>("owner");
        QTest::addColumn<QPoint>("at");
        const QRect screen(0, 0, 1600, 900);
        QTest::newRow("room on the right") << QRect(100, 50, 800, 600) << QPoint(900, 50);
        QTest::newRow("room only on the left") << QRect(700, 50, 800, 600) << QPoint(180, 50);
        QTest::newRow("no room: at the right edge") << screen << QPoint(1080, 0);
    }

    // The help window opens beside the program (here a 520 x 420 window on a 1600 x 900 screen).
    void helpBesideTheWindow()
    {
        QFETCH(QRect, owner);
        QFETCH(QPoint, at);
        QCOMPARE(CHelpLayer::PlaceBeside(owner, QRect(0, 0, 1600, 900), QSize(520, 420)), at);
    }

    // The real help window: opened by F1 in the grid, closed by Escape.
    void helpClosesWithEscape()
    {
        CGuiFixture f;
        QVERIFY(f.Start());
        CHelpLayer::SetHook({});
        f.ClickCell(1, 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        QTextBrowser* help = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* browser = qobject_cast<QTextBrowser*>(window); browser && browser->isVisible())
                help = browser;
        QVERIFY(help);
        QVERIFY(help->source().toLocalFile().endsWith(QStringLiteral("2127.html")));
        QApplication::setActiveWindow(help); // as the window system does for a window just opened
        QTest::keyClick(help, Qt::Key_Escape);
        QTRY_VERIFY(!help->isVisible());
    }

    void aboutTitle_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("title");
        QTest::newRow("three dots") << "About Fieldcom Radio Programmer..."
                                    << "About Fieldcom Radio Programmer";
        QTest::newRow("ellipsis and blank") << "关于菲尔德电台编程软件 …"
                                            << "关于菲尔德电台编程软件";
        QTest::newRow("an abbreviation's dot stays") << "About Fieldcom Ltd."
                                                     << "About Fieldcom Ltd.";
    }

    // The About entry keeps the configured text; the box's title drops the dots. Every window shows
    // the program's own icon.
    void aboutTitle()
    {
        QFETCH(QString, configured);
        QFETCH(QString, title);
        CGuiFixture f;
        f.SetIni("English", "About Title", configured);
        QVERIFY(f.Start());
        QAction* about = f.App().MainFrame()->FindCommand(CMainFrame::kAppAbout);
        QCOMPARE(about->text(), configured);
        about->trigger();
        QCOMPARE(f.dialogs, QStringList { title });

        // Our radio, not the toolkit's default: it paints at every size the window system asks for.
        const QIcon icon = f.App().MainFrame()->windowIcon();
        QVERIFY(!icon.pixmap(48, 48).isNull());
        QCOMPARE(f.Child()->windowIcon().cacheKey(), icon.cacheKey());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
