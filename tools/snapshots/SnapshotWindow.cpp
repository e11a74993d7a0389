// Developer tool, not a test: starts the program window from a copy of the executable directory in the
// given language, types into the grid and writes screenshots, so the window can be looked at.
//   xvfb-run -a -s "-screen 0 1600x1000x24" gui_snapshot English /tmp/shots
#include "config/AppPaths.h"
#include "app/ChildFrame.h"
#include "config/IniFile.h"
#include "app/MainFrame.h"
#include "widgets/HelpLayer.h"
#include "widgets/MessageBox.h"
#include "app/ProgramApp.h"
#include "widgets/MSFlexGrid.h"
#include "editor/ProgramView.h"

#include <QApplication>
#include <QDir>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <tuple>

namespace {

void settle()
{
    for (int i = 0; i < 20; ++i)
        QTest::qWait(20);
}

void shoot(const QString& file)
{
    settle();
    QGuiApplication::primaryScreen()->grabWindow(0).save(file);
}

void clickCell(CMSFlexGrid* grid, int row, int col)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, col));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QString language = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("English");
    const QString out = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp");
    QDir().mkpath(out);

    QTemporaryDir bin;
    for (const QString& name :
        QDir(QStringLiteral(PROGRAM_BIN_DIR)).entryList({ "*.ini", "*.qm" }, QDir::Files))
        QFile::copy(QStringLiteral(PROGRAM_BIN_DIR "/") + name, bin.filePath(name));
    for (const QString& folder : { QStringLiteral("help/enHelp"), QStringLiteral("help/chHelp") }) {
        QDir().mkpath(bin.filePath(folder));
        const QDir pages(QStringLiteral(PROGRAM_BIN_DIR "/") + folder);
        for (const QString& name : pages.entryList(QDir::Files))
            QFile::copy(pages.filePath(name), bin.filePath(folder + QLatin1Char('/') + name));
    }
    {
        CIniFile ini;
        ini.Open(bin.filePath(QStringLiteral("Program.ini")), false, true, false);
        ini.SetValue(QStringLiteral("Setup"), QStringLiteral("Language"), language);
        ini.Save(false);
    }
    CAppPaths::SetExecutableDir(bin.path());

    CProgramApp app;
    if (!app.InitInstance({}))
        return 1;
    QApplication::setActiveWindow(app.MainFrame());
    CChildFrame* child = app.MainFrame()->ActiveChild();
    CMSFlexGrid* grid = child->View()->Grid();
    shoot(out + QStringLiteral("/") + language + QStringLiteral("-start.png"));

    clickCell(grid, 1, 1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("146.5"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("147.125"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    clickCell(grid, 2, 1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("150.0125"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    clickCell(grid, 1, 3);
    shoot(out + QStringLiteral("/") + language + QStringLiteral("-editing.png"));

    auto* combo = QApplication::focusWidget();
    QTimer::singleShot(0, combo, [combo] { QTest::keyClick(combo, Qt::Key_F4); });
    shoot(out + QStringLiteral("/") + language + QStringLiteral("-tones.png"));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);

    QMenu* file = app.MainFrame()->menuBar()->actions().at(0)->menu();
    file->popup(app.MainFrame()->menuBar()->mapToGlobal(QPoint(0, app.MainFrame()->menuBar()->height())));
    shoot(out + QStringLiteral("/") + language + QStringLiteral("-filemenu.png"));
    file->hide();

    QAction* editEntry = app.MainFrame()->menuBar()->actions().at(1);
    QMenu* edit = editEntry->menu();
    edit->popup(app.MainFrame()->menuBar()->mapToGlobal(
        app.MainFrame()->menuBar()->actionGeometry(editEntry).bottomLeft()));
    shoot(out + QStringLiteral("/") + language + QStringLiteral("-editmenu.png"));
    edit->hide();

    // Setup with Log Serial Traffic highlighted: the status bar says where the traces go. Then Help.
    for (const auto& [position, entry, name] : { std::tuple { 4, CHelpLayer::kSerialLogTopic, "setupmenu" },
             std::tuple { 5, int(CMainFrame::kOpenDataFolder), "helpmenu" } }) {
        QAction* top = app.MainFrame()->menuBar()->actions().at(position);
        QMenu* menu = top->menu();
        menu->popup(app.MainFrame()->menuBar()->mapToGlobal(
            app.MainFrame()->menuBar()->actionGeometry(top).bottomLeft()));
        menu->setActiveAction(app.MainFrame()->FindCommand(entry));
        app.MainFrame()->FindCommand(entry)->showStatusText(app.MainFrame()); // as the mouse over it does
        shoot(out + QStringLiteral("/") + language + QStringLiteral("-") + QLatin1String(name)
            + QStringLiteral(".png"));
        menu->hide();
        app.MainFrame()->statusBar()->clearMessage();
    }

    // File > Print Preview, the report of what the grid shows.
    QTimer::singleShot(600, [&] {
        shoot(out + QStringLiteral("/") + language + QStringLiteral("-preview.png"));
        if (QWidget* preview = QApplication::activeModalWidget())
            preview->close();
    });
    app.MainFrame()->FindCommand(CMainFrame::kFilePrintPreview)->trigger();
    // Setup > Com Setup with the system's serial ports below the COM buttons.
    QTimer::singleShot(300, [&] {
        shoot(out + QStringLiteral("/") + language + QStringLiteral("-ports.png"));
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    child->View()->OnComSetup();

    // F1 in the grid: the help window beside the main window.
    QApplication::setActiveWindow(app.MainFrame());
    clickCell(grid, 2, 2);
    settle();
    if (QWidget* focus = QApplication::focusWidget())
        QTest::keyClick(focus, Qt::Key_F1);
    shoot(out + QStringLiteral("/") + language + QStringLiteral("-help.png"));
    if (QWidget* help = QApplication::activeWindow(); help && help != app.MainFrame())
        help->close();

    // The real save question of File > Exit; Cancel keeps the program.
    QTimer::singleShot(300, [&] {
        shoot(out + QStringLiteral("/") + language + QStringLiteral("-question.png"));
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    app.MainFrame()->FindCommand(CMainFrame::kAppExit)->trigger();

    QTimer::singleShot(300, [&] {
        shoot(out + QStringLiteral("/") + language + QStringLiteral("-language.png"));
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    child->View()->OnLanguage();
    return 0;
}
