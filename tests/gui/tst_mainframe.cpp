#include "GuiFixture.h"

#include "app/ChildFrame.h"
#include "app/FrameBars.h"
#include "app/FrameStatusBar.h"
#include "app/MDIClientWnd.h"
#include "app/MainFrame.h"
#include "app/NavigationTree.h"
#include "app/ProgramApp.h"
#include "app/TreeControlBar.h"
#include "dialogs/OptionalFeaturesDlg.h"
#include "dialogs/ProductInfoDlg.h"

#include <QApplication>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolBar>

// The frame around the channel window: menus, bars, the control bar's tree, drag and close button,
// and the background.
class TestMainFrame : public QObject {
    Q_OBJECT

private:
    static QStringList MenuTitles(CMainFrame* frame)
    {
        QStringList titles;
        for (QAction* menu : frame->menuBar()->actions())
            if (menu->isVisible())
                titles << menu->text();
        return titles;
    }

    static void Drag(QWidget* bar, int fromX, int toX, int* trackedX = nullptr)
    {
        const int y = bar->height() / 2;
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(fromX, y));
        QMouseEvent move(QEvent::MouseMove, QPointF(toX, y), bar->mapToGlobal(QPointF(toX, y)), Qt::NoButton,
            Qt::LeftButton, {});
        QApplication::sendEvent(bar, &move);
        if (trackedX)
            *trackedX = static_cast<CTreeControlBar*>(bar)->TrackingX();
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(toX, y));
    }

private slots:
    void menusToolbarAndPrompts_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("menus");
        QTest::addColumn<QString>("readPrompt");
        QTest::addColumn<QString>("readTip");
        QTest::addColumn<QString>("ready");
        QTest::addColumn<QStringList>("logEntry"); // Program > Programming Log...: its text and prompt
        QTest::newRow("English") << "English"
                                 << QStringList { "&File", "&Edit", "&Program", "&View", "&Setup", "&Help" }
                                 << "Read Data From Radio (F1: Help)" << "Read (F1: Help)" << "Ready"
                                 << QStringList { "Programming &Log...",
                                        "Show every read and write of a radio, when and how it ended (F1: Help)" };
        QTest::newRow("Chinese") << "Chinese"
                                 << QStringList { "文件(&F)", "编辑(&E)", "编程(&P)", "查看(&V)", "设置(&S)", "帮助(&H)" }
                                 << "从电台读取数据 (F1: 帮助)" << "读取 (F1: 帮助)" << "就绪"
                                 << QStringList { "编程日志(&L)...", "显示每次读写电台的记录: 时间及结果 (F1: 帮助)" };
    }

    void menusToolbarAndPrompts()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, menus);
        QFETCH(QString, readPrompt);
        QFETCH(QString, readTip);
        QFETCH(QString, ready);
        QFETCH(QStringList, logEntry);
        CGuiFixture f(language);
        QVERIFY(f.Start());
        CMainFrame* frame = f.App().MainFrame();
        QCOMPARE(MenuTitles(frame), menus);
        QAction* log = frame->FindCommand(CMainFrame::kProgrammingLog);
        QVERIFY(log && log->isEnabled());
        QCOMPARE((QStringList { log->text(), log->statusTip() }), logEntry);

        // New, Open, Save | Read, Write | Print | About, sharing the menu's actions.
        QList<int> buttons;
        for (QAction* action : frame->Bars()->ToolBar()->actions())
            buttons << (action->isSeparator() ? 0 : action->data().toInt());
        QCOMPARE(buttons, (QList<int> { CMainFrame::kFileNew, CMainFrame::kFileOpen, CMainFrame::kFileSave, 0,
                              CMainFrame::kRead, CMainFrame::kWrite, 0, CMainFrame::kFilePrint, 0,
                              CMainFrame::kAppAbout }));
        QAction* read = frame->FindCommand(CMainFrame::kRead);
        QCOMPARE(read->toolTip(), readTip);
        QVERIFY(!read->icon().isNull());

        // The pointer over the entry says its prompt; leaving brings back "Ready".
        CFrameStatusBar* status = frame->Bars()->StatusBar();
        QCOMPARE(status->currentMessage(), ready);
        QStatusTipEvent over(read->statusTip());
        QApplication::sendEvent(frame, &over);
        QCOMPARE(status->currentMessage(), readPrompt);
        QStatusTipEvent away(QString {});
        QApplication::sendEvent(frame, &away);
        QCOMPARE(status->currentMessage(), ready);
        QVERIFY(status->Indicator(0) && status->Indicator(1) && status->Indicator(2));
    }

    // Over an entry whose command has no prompt (nor a help page to point to) the pane is empty, not
    // "Ready"; closing the menu makes it idle again.
    void entryWithoutPromptEmptiesThePane()
    {
        CGuiFixture f;
        QVERIFY(f.Start());
        CMainFrame* frame = f.App().MainFrame();
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        CFrameStatusBar* status = frame->Bars()->StatusBar();
        QAction* product = frame->FindCommand(CMainFrame::kChannelInformation);
        QAction* setup = nullptr;
        for (QAction* title : frame->menuBar()->actions())
            if (title->menu() && title->menu()->actions().contains(product))
                setup = title;
        QVERIFY(setup);
        QMenu* menu = setup->menu();
        frame->menuBar()->setActiveAction(setup); // opened from the bar, as the pointer does
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        menu->setActiveAction(product);
        QCOMPARE(status->currentMessage(), QString());
        menu->hide();
        QTRY_COMPARE(status->currentMessage(), QString("Ready"));
    }

    void viewMenuShowsAndHidesTheBars()
    {
        CGuiFixture f;
        QVERIFY(f.Start());
        CFrameBars* bars = f.Frame()->Bars();
        for (const auto& [command, bar] :
            { std::pair<int, QWidget*> { CMainFrame::kViewToolbar, bars->ToolBar() },
                { CMainFrame::kViewStatusBar, bars->StatusBar() },
                { CMainFrame::kViewControlBar, bars->ControlDock() } }) {
            QAction* entry = f.Frame()->FindCommand(command);
            QVERIFY(entry->isCheckable() && entry->isChecked() && bar->isVisible());
            entry->trigger();
            QVERIFY(!bar->isVisible() && !entry->isChecked());
            entry->trigger();
            QVERIFY(bar->isVisible() && entry->isChecked());
        }
    }

    void controlBarDragAndClose_data()
    {
        QTest::addColumn<int>("releaseX");
        QTest::addColumn<int>("trackedX");
        QTest::addColumn<int>("width");
        // Frame 1000 px wide: the feedback stops at 80 and at 500, the applied width at 11 and at 500.
        QTest::newRow("narrow") << 50 << 80 << 50;
        QTest::newRow("narrowest") << 5 << 80 << 11;
        QTest::newRow("wide") << 300 << 300 << 300;
        QTest::newRow("past half") << 700 << 500 << 500;
    }

    void controlBarDragAndClose()
    {
        QFETCH(int, releaseX);
        QFETCH(int, trackedX);
        QFETCH(int, width);
        CGuiFixture f;
        QVERIFY(f.Start());
        CMainFrame* frame = f.App().MainFrame();
        frame->showNormal();
        frame->resize(1000, 700);
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        CTreeControlBar* bar = frame->Bars()->ControlBar();
        bar->repaint(); // the strip and the close button exist from the first paint on
        const int strip = bar->SizingStrip().center().x();
        int tracked = -1;
        Drag(bar, strip, releaseX, &tracked);
        QCOMPARE(tracked, trackedX);
        QCOMPARE(bar->BarWidth(), width);
        QCOMPARE(frame->Bars()->ControlDock()->width(), width);
        QCOMPARE(bar->TrackingX(), -1);

        // Pressed on the button, released elsewhere: stays. Pressed elsewhere, released on it: hides.
        bar->repaint();
        const QPoint button = bar->CloseButtonRect().center();
        QAction* entry = frame->FindCommand(CMainFrame::kViewControlBar);
        QTest::mousePress(bar, Qt::LeftButton, {}, button);
        QTest::mouseRelease(bar, Qt::LeftButton, {}, button + QPoint(0, 40));
        QVERIFY(frame->Bars()->ControlDock()->isVisible());
        QTest::mousePress(bar, Qt::LeftButton, {}, button + QPoint(0, 40));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, button);
        QVERIFY(!frame->Bars()->ControlDock()->isVisible());
        QVERIFY(!entry->isChecked());
        entry->trigger();
        QCOMPARE(frame->Bars()->ControlDock()->width(), width); // back with its last width
    }

    // The entry under the pointer decides, not the one selected by the keyboard; a click runs it. The
    // root, and only the root, is selected afterwards.
    void treeActsOnTheItemUnderThePointer_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("pointerOn"); // child index under the root; -1: the root
        QTest::addColumn<bool>("click"); // else the keyboard selects Channel Information
        QTest::addColumn<QString>("opened");
        QTest::newRow("product") << "English" << 0 << false << "CProductInfoDlg";
        QTest::newRow("options, in Chinese") << "Chinese" << 2 << false << "COptionalFeaturesDlg";
        QTest::newRow("root") << "English" << -1 << false << "";
        QTest::newRow("options, clicked") << "English" << 2 << true << "COptionalFeaturesDlg";
    }

    void treeActsOnTheItemUnderThePointer()
    {
        QFETCH(QString, language);
        QFETCH(int, pointerOn);
        QFETCH(bool, click);
        QFETCH(QString, opened);
        CGuiFixture f(language);
        QVERIFY(f.Start());
        QVERIFY(QTest::qWaitForWindowExposed(f.Frame()));
        CNavigationTree* tree = f.Frame()->Bars()->Tree();
        const QPoint target
            = tree->visualItemRect(pointerOn < 0 ? tree->Root() : tree->Root()->child(pointerOn)).center();
        QCursor::setPos(tree->viewport()->mapToGlobal(target));
        QString seen;
        QTimer::singleShot(0, [&seen] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                seen = QString::fromLatin1(dialog->metaObject()->className());
                dialog->reject();
            }
        });
        if (click)
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, target);
        else
            tree->setCurrentItem(tree->Root()->child(1));
        QCOMPARE(seen, opened);
        QTRY_COMPARE(tree->selectedItems(), QList<QTreeWidgetItem*> { tree->Root() });
        QCOMPARE(tree->currentItem(), tree->Root());

        // The entries' line runs down the middle of their indentation column from the first to the
        // last entry; the root's column beside it stays blank, the root having no sibling below.
        const QImage picture = tree->viewport()->grab().toImage();
        const int from = tree->visualItemRect(tree->Root()->child(0)).center().y();
        const QColor base = picture.pixelColor(tree->indentation() / 2, from);
        const int x = tree->indentation() + tree->indentation() / 2;
        const int to = tree->visualItemRect(tree->Root()->child(2)).center().y();
        int drawn = 0;
        for (int y = from; y < to; ++y)
            drawn += picture.pixelColor(x, y) != base ? 1 : 0;
        QVERIFY2(drawn >= (to - from) / 3, qPrintable(QString::number(drawn)));
    }

    void backgroundTiles_data()
    {
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QList<QPoint>>("origins");
        QTest::newRow("500 x 300") << QSize(500, 300)
                                   << QList<QPoint> { { 0, 0 }, { 0, 157 }, { 238, 0 }, { 238, 157 }, { 476, 0 },
                                          { 476, 157 } };
        // Exactly two by two: one more column and row, wholly outside.
        QTest::newRow("476 x 314") << QSize(476, 314)
                                   << QList<QPoint> { { 0, 0 }, { 0, 157 }, { 0, 314 }, { 238, 0 }, { 238, 157 },
                                          { 238, 314 }, { 476, 0 }, { 476, 157 }, { 476, 314 } };
    }

    void backgroundTiles()
    {
        QFETCH(QSize, area);
        QFETCH(QList<QPoint>, origins);
        QCOMPARE(CMDIClientWnd::TileOrigins(area, QSize(238, 157)), origins);
    }

    // The picture is read at every repaint: a replaced or removed one shows at once. One cut short or
    // not a picture at all is never tiled: our own one stands in, as for a missing file.
    void backgroundPicture_data()
    {
        QTest::addColumn<int>("keep"); // bytes of the 3,654-byte bitmap kept, or -1 for a text file
        QTest::addColumn<QSize>("shown");
        QTest::newRow("whole") << 3654 << QSize(40, 30);
        QTest::newRow("last byte missing") << 3653 << QSize(238, 157);
        QTest::newRow("half") << 1800 << QSize(238, 157);
        QTest::newRow("headers only") << 54 << QSize(238, 157);
        QTest::newRow("file header only") << 14 << QSize(238, 157);
        QTest::newRow("not a picture") << -1 << QSize(238, 157);
    }
    void backgroundPicture()
    {
        QFETCH(int, keep);
        QFETCH(QSize, shown);
        CGuiFixture f;
        QVERIFY(f.Start());
        QCOMPARE(CMDIClientWnd::BackgroundPicture().size(), QSize(238, 157));
        const QString path = f.BinPath("background.bmp");
        QImage picture(40, 30, QImage::Format_RGB888);
        picture.fill(Qt::red);
        QVERIFY(picture.save(path, "BMP"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        // 24 bits: rows of 120 bytes (already a multiple of four), 30 rows after the 54 header bytes.
        QCOMPARE(file.size(), 3654);
        QVERIFY(keep < 0 ? file.resize(0) && file.write("hello, world") == 12 : file.resize(keep));
        file.close();
        QCOMPARE(CMDIClientWnd::BackgroundPicture().size(), shown);
        QFile::remove(path);
        QCOMPARE(CMDIClientWnd::BackgroundPicture().size(), QSize(238, 157));
    }

    void f6MovesBetweenThePanes()
    {
        CGuiFixture f;
        QVERIFY(f.Start());
        CMainFrame* frame = f.App().MainFrame();
        QApplication::setActiveWindow(frame);
        QVERIFY(QTest::qWaitForWindowActive(frame));
        CNavigationTree* tree = frame->Bars()->Tree();
        tree->setFocus();
        QTest::keyClick(frame, Qt::Key_F6);
        QVERIFY(!tree->hasFocus());
        QTest::keyClick(frame, Qt::Key_F6, Qt::ShiftModifier);
        QVERIFY(tree->hasFocus());
    }
};

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
