#include "GuiFixture.h"

#include "app/ChildFrame.h"
#include "widgets/HelpLayer.h"
#include "widgets/MessageBox.h"
#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "app/FrameBars.h"
#include "app/NavigationTree.h"
#include "config/Language.h"
#include "link/ProcessDlg.h"
#include "widgets/MSFlexGrid.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

#include <tuple>

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
        if (maximisedChild) { // as much room left of the grid as right of it
            QVERIFY(qAbs(f.View()->x() + f.View()->geometry().right() - scroller->viewport()->width()) <= 2);
            // The grid grows into the room, each column keeping its share (the Rx column is 1.2 to
            // the number column's 0.51), the rows filling the height, the editor over its cell.
            CMSFlexGrid* grid = f.Grid();
            QTRY_VERIFY(grid->width() > grid->minimumWidth());
            QVERIFY(qAbs(grid->columnWidth(1) * 0.51 - grid->columnWidth(0) * 1.2) <= 2);
            QVERIFY(grid->rowHeight(1) > grid->minimumHeight() / 17);
            f.ClickCell(3, 2);
            QVERIFY((f.View()->EditorForColumn(2)->geometry().center()
                        - grid->visualRect(grid->model()->index(3, 2)).center()).manhattanLength() <= 2);
        }

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
        QTest::newRow("Tab on a refused value stays, the channel kept")
            << QPoint(3, 1) << "999" << tab << QPoint(3, 1) << "146.50000" << true;
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

    void helpPages_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("topic");
        QTest::addColumn<QString>("title"); // of the page the topic opens
        const QList<std::tuple<int, const char*, const char*>> pages {
            { 57667, "Help Topics", "帮助主题" }, { 32773, "Read", "读频" }, { 32774, "Write", "写频" },
            { 32777, "Com Setup", "串口设置" }, { 32852, "Compare with Radio", "与电台比较" },
            { 32862, "Batch Write", "批量写入" }, { 32850, "CSV import and export", "CSV 导入和导出" },
            { 32851, "CSV import and export", "CSV 导入和导出" }, { 32845, "Backups", "备份" },
            { 32861, "Serial logging", "串口记录" }, { 57607, "Printing", "打印" }, { 57609, "Printing", "打印" },
            { 32800, "Printing", "打印" }, { 32870, "Where your files are", "文件保存位置" },
            { 32781, "Power Adjustment", "功率调整" }, { 32779, "Parameter Adjustment", "参数调整" },
            { 1027, "Service password", "维修密码" },
        };
        for (const auto& [topic, english, chinese] : pages) {
            QTest::addRow("%d, English", topic) << "English" << topic << QString::fromUtf8(english);
            QTest::addRow("%d, Chinese", topic) << "Chinese" << topic << QString::fromUtf8(chinese);
        }
    }

    // Every topic the menus and windows lead to has its page in both languages; commands that share
    // a page reach the one page.
    void helpPages()
    {
        QFETCH(QString, language);
        QFETCH(int, topic);
        QFETCH(QString, title);
        const CGuiFixture f; // the program's folder with its pages
        const QString before = CLanguage::Name();
        CLanguage::SetName(language);
        const QString path = CHelpLayer::TopicPath(topic);
        CLanguage::SetName(before);
        QFile page(path);
        QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(path));
        const QString html = QString::fromUtf8(page.readAll());
        QVERIFY2(html.contains("<title>" + title + "</title>"), qPrintable(path));
        // Links between pages lead to pages that exist.
        static const QRegularExpression link(QStringLiteral("href=\"([0-9]+)\\.html\""));
        for (auto match = link.globalMatch(html); match.hasNext();) {
            const QString target = QFileInfo(path).dir().filePath(match.next().captured(1) + ".html");
            QVERIFY2(QFileInfo::exists(target), qPrintable(target));
        }
    }

    void contextHelp_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("command"); // the menu entry highlighted, or the transfer window opened
        QTest::addColumn<int>("topic");
        const int contents = CHelpLayer::kContentsTopic;
        QTest::newRow("Help Topics chosen with the grid focused") << "menu" << 0 << contents;
        QTest::newRow("F1 in the grid") << "grid" << 0 << int(CProgramView::kGridId);
        QTest::newRow("F1 in the navigation tree") << "tree" << 0 << contents;
        QTest::newRow("F1 in the Read window")
            << "window" << int(CMainFrame::kRead) << int(CMainFrame::kRead);
        QTest::newRow("F1 in the Write window")
            << "window" << int(CMainFrame::kWrite) << int(CMainFrame::kWrite);
        for (const auto& [entry, command] : { std::pair { "Setup > Language", int(CMainFrame::kLanguage) },
                 { "Program > Read", CMainFrame::kRead }, { "File > Open", CMainFrame::kFileOpen },
                 { "Program > Programming Log", CMainFrame::kProgrammingLog },
                 { "Help > Help Topics", CMainFrame::kHelpTopics },
                 { "Program > Batch Write", CHelpLayer::kBatchWriteTopic },
                 { "Setup > Log Serial Traffic", CHelpLayer::kSerialLogTopic },
                 { "Help > Open Data Folder", CMainFrame::kOpenDataFolder } })
            QTest::addRow("F1 on %s", entry) << "entry" << command << command;
    }

    // F1 opens the topic of where the user is, else the contents; Help Topics always the contents. F1
    // on a highlighted menu item closes the menu and opens the topic numbered like its command.
    void contextHelp()
    {
        QFETCH(QString, where);
        QFETCH(int, command);
        QFETCH(int, topic);
        CGuiFixture f;
        QVERIFY(f.Start());
        CMainFrame* main = f.App().MainFrame();
        QApplication::setActiveWindow(main);
        f.Grid()->setFocus();
        if (where == "menu") {
            main->FindCommand(CMainFrame::kHelpTopics)->trigger();
        } else if (where == "grid") {
            QTest::keyClick(f.Grid(), Qt::Key_F1);
        } else if (where == "tree") {
            main->Bars()->Tree()->setFocus();
            QTest::keyClick(main->Bars()->Tree(), Qt::Key_F1);
        } else if (where == "entry") {
            QMenu* menu = main->MenuOf(command);
            menu->popup(main->mapToGlobal(QPoint(10, 10)));
            QTRY_VERIFY(menu->isVisible());
            menu->setActiveAction(main->FindCommand(command));
            QTest::keyClick(menu, Qt::Key_F1);
            QVERIFY(!menu->isVisible());
            QVERIFY(f.filePrompts.isEmpty() && f.messages.isEmpty()); // the command itself did not run
        } else {
            main->FindCommand(command)->trigger();
            CProcessDlg* dialog = f.View()->ProcessDlg();
            QVERIFY(dialog->isVisible());
            QApplication::setActiveWindow(dialog);
            QTest::keyClick(dialog, Qt::Key_F1);
            QVERIFY(dialog->isVisible()); // F1 starts and stops nothing
            dialog->reject();
        }
        QCOMPARE(f.helpTopics, QList<int> { topic });
        // The menu entry shows its key, and entries with a page say that F1 helps.
        QCOMPARE(main->FindCommand(CMainFrame::kHelpTopics)->text(), QStringLiteral("&Help Topics\tF1"));
        QCOMPARE(main->FindCommand(CMainFrame::kRead)->toolTip(), QStringLiteral("Read (F1: Help)"));
        QCOMPARE(main->FindCommand(CMainFrame::kComSetup)->statusTip(), QStringLiteral("F1: Help"));
        QCOMPARE(main->FindCommand(CMainFrame::kFileNew)->statusTip(), QStringLiteral("Create a new document"));
    }

    // A box with a short text is still wide enough for a long title, and a bold one.
    void messageBoxFitsItsTitle()
    {
        for (const QString& caption : { QStringLiteral("Fieldcom Radio Programmer - Communication Error"),
                 QStringLiteral("菲尔德电台编程软件 - 通信出错 - 请检查电缆") }) {
            QMessageBox box(QMessageBox::Warning, caption, QStringLiteral("Out of range"), QMessageBox::Ok);
            const int before = box.sizeHint().width();
            CMessageBox::FitTitle(box);
            QFont bold = box.font();
            bold.setBold(true);
            QVERIFY(box.sizeHint().width() > QFontMetrics(bold).horizontalAdvance(caption) + 100);
            QVERIFY(box.sizeHint().width() >= before);
        }
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
        QTest::newRow("no title: the entry still works") << ""
                                                         << "";
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
        QStringList lines;
        f.onDialog = [&lines](QDialog& dialog) {
            for (const char* name : { "version", "copyrights", "owner" })
                lines << dialog.findChild<QLabel*>(name)->text();
            return int(QDialog::Accepted);
        };
        about->trigger();
        QCOMPARE(f.dialogs, QStringList { title });
        QCOMPARE(lines, (QStringList { "Version 1.0", "Copyright (C) 2026", "Fieldcom Tools" }));

        // Our radio, not the toolkit's default: it paints at every size the window system asks for.
        const QIcon icon = f.App().MainFrame()->windowIcon();
        QVERIFY(!icon.pixmap(48, 48).isNull());
        QCOMPARE(f.Child()->windowIcon().cacheKey(), icon.cacheKey());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
