// Developer tool, not a test: the channel window's notes in the given language, one picture each: a
// band change leaving channels outside (marks, tool tip, title), the out-of-range and step messages,
// the close box asking about edits, and a channel list opened as a data file.
//   xvfb-run -a -s "-screen 0 1280x800x24" grid_notes_snapshot Chinese /tmp/shots
#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "config/AppPaths.h"
#include "config/IniFile.h"
#include "dialogs/ProductInfoDlg.h"
#include "widgets/MSFlexGrid.h"
#include "editor/ProgramView.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QHelpEvent>
#include <QToolTip>

#include <cstdio>
#include <functional>

namespace {

void settle()
{
    for (int i = 0; i < 15; ++i)
        QTest::qWait(20);
}

void shoot(const QString& file)
{
    settle();
    QGuiApplication::primaryScreen()->grabWindow(0).save(file);
}

// Runs act on the modal window the next step raises, once it is up (the machine may be slow).
void whenModal(const std::function<void(QWidget*)>& act)
{
    QTimer::singleShot(100, [act] {
        if (QWidget* modal = QApplication::activeModalWidget())
            QTimer::singleShot(300, [act, modal] { act(modal); });
        else
            whenModal(act);
    });
}

// Shoots the modal window that the next step raises, then closes it as Escape would.
void shootModal(const QString& file)
{
    whenModal([file](QWidget* modal) {
        shoot(file);
        modal->close();
    });
}

void clickCell(CMSFlexGrid* grid, int row, int col)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, col));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

void type(CMSFlexGrid* grid, const QString& text)
{
    QTest::keyClicks(QApplication::focusWidget(), text);
    // A message box raised by the Enter has gone by the time the click returns; the grid takes the
    // keys again.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    if (!QApplication::focusWidget()) {
        QApplication::setActiveWindow(grid->window());
        grid->setFocus();
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QString language = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("English");
    const QString out = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp");
    const QString prefix = out + QLatin1Char('/') + language + QLatin1Char('-');
    QDir().mkpath(out);

    QTemporaryDir bin;
    for (const QString& name : QDir(QStringLiteral(PROGRAM_BIN_DIR)).entryList({ "*.ini", "*.qm" }, QDir::Files))
        QFile::copy(QStringLiteral(PROGRAM_BIN_DIR "/") + name, bin.filePath(name));
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

    // Channels of 130 - 160MHz, then the radio moved to 400 - 470MHz.
    clickCell(grid, 1, 1);
    type(grid, QStringLiteral("150.125"));
    clickCell(grid, 2, 1);
    type(grid, QStringLiteral("135"));
    clickCell(grid, 3, 1);
    type(grid, QStringLiteral("146.52"));
    whenModal([](QWidget* modal) {
        if (auto* dialog = qobject_cast<CProductInfoDlg*>(modal)) {
            dialog->BandBox()->setCurrentIndex(2);
            whenModal([](QWidget* note) { note->close(); }); // the note naming the channels left out
            dialog->accept();
        }
    });
    app.MainFrame()->FindCommand(CMainFrame::kProductInformation)->trigger();
    settle();
    QApplication::setActiveWindow(app.MainFrame());
    clickCell(grid, 5, 1);
    // The pointer resting on a marked cell: its tool tip, as the view shows it.
    const QPoint marked = grid->visualRect(grid->model()->index(2, 1)).center();
    QHelpEvent rest(QEvent::ToolTip, marked, grid->viewport()->mapToGlobal(marked));
    QApplication::sendEvent(grid->viewport(), &rest);
    shoot(prefix + QStringLiteral("band-marks.png"));
    QToolTip::hideText();
    // Xvfb has no title bars: the title the window manager would show.
    std::printf("title: %s\n", qPrintable(app.MainFrame()->windowTitle()));
    std::fflush(stdout);

    // A frequency above the new band, then one between two channel steps.
    clickCell(grid, 4, 1);
    shootModal(prefix + QStringLiteral("out-of-range.png"));
    type(grid, QStringLiteral("480"));
    clickCell(grid, 4, 1);
    shootModal(prefix + QStringLiteral("off-step.png"));
    type(grid, QStringLiteral("446.5123"));

    // The window's close box with unsaved edits.
    shootModal(prefix + QStringLiteral("close-box.png"));
    child->close();

    // A channel list opened as a data file.
    QTemporaryDir files;
    QFile csv(files.filePath(QStringLiteral("channels.csv")));
    if (csv.open(QIODevice::WriteOnly))
        csv.write("Location,Name,Frequency,Duplex,Offset,Tone\n1,,146.520000,,0.000000,\n");
    csv.close();
    shootModal(prefix + QStringLiteral("open-csv.png"));
    app.OpenDocumentFile(csv.fileName(), false);
    return 0;
}
