// Developer tool, not a test: runs the program window against a virtual radio paced like a real
// 9600-baud line and writes screenshots of Read and Write as they run, Port Setting and a failure.
//   xvfb-run -a -s "-screen 0 1600x1000x24" gui_link_snapshot English /tmp/shots
#include "config/AppPaths.h"
#include "app/ChildFrame.h"
#include "config/IniFile.h"
#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "editor/ProgramView.h"
#include "emulator/VirtualRadio.h"
#include "link/ProcessDlg.h"

#include <QApplication>
#include <QDir>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

void settle()
{
    for (int i = 0; i < 10; ++i)
        QTest::qWait(20);
}

void shoot(const QString& file)
{
    QGuiApplication::primaryScreen()->grabWindow(0).save(file);
}

// A shot of whatever is up once the running transfer has reached block.
void shootAtBlock(CProcessDlg* dialog, int block, const QString& file)
{
    auto* once = new QObject(dialog);
    QObject::connect(dialog->Progress(), &QProgressBar::valueChanged, once, [=](int value) {
        if (value == block) {
            shoot(file);
            delete once;
        }
    });
}

void waitClosed(const QWidget* dialog)
{
    for (int i = 0; i < 3000 && dialog->isVisible(); ++i)
        QTest::qWait(10);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QString language = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("English");
    const QString out = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp");
    const QString prefix = out + QLatin1Char('/') + language + QLatin1Char('-');
    QDir().mkpath(out);

    auto radio = std::make_unique<CVirtualRadio>();
    radio->SetPace(9600);
    std::string error;
    if (!radio->Open(error))
        qFatal("no pseudo-terminal: %s", error.c_str());
    radio->Start();

    QTemporaryDir bin;
    for (const QString& name :
        QDir(QStringLiteral(PROGRAM_BIN_DIR)).entryList({ "*.ini", "*.qm" }, QDir::Files))
        QFile::copy(QStringLiteral(PROGRAM_BIN_DIR "/") + name, bin.filePath(name));
    {
        CIniFile ini;
        ini.Open(bin.filePath(QStringLiteral("Program.ini")), false, true, false);
        ini.SetValue(QStringLiteral("Setup"), QStringLiteral("Language"), language);
        ini.Save(false);
    }
    CAppPaths::SetExecutableDir(bin.path());

    CProgramApp app;
    const QString device = QString::fromStdString(radio->DevicePath());
    if (!app.InitInstance({ QStringLiteral("--virtual-radio"), QStringLiteral("COM1=") + device }))
        return 1;
    QApplication::setActiveWindow(app.MainFrame());
    CProgramView* view = app.MainFrame()->ActiveChild()->View();
    CProcessDlg* dialog = view->ProcessDlg();
    settle();

    app.MainFrame()->FindCommand(CMainFrame::kRead)->trigger();
    settle();
    shoot(prefix + QStringLiteral("read-ready.png"));
    shootAtBlock(dialog, 20, prefix + QStringLiteral("read-running.png"));
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    waitClosed(dialog);
    settle();
    shoot(prefix + QStringLiteral("read-done.png"));

    app.MainFrame()->FindCommand(CMainFrame::kWrite)->trigger();
    shootAtBlock(dialog, 45, prefix + QStringLiteral("write-running.png"));
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    waitClosed(dialog);

    // Closing the program while a write runs: the question, shot, then answered as Escape answers it.
    app.MainFrame()->FindCommand(CMainFrame::kWrite)->trigger();
    bool asked = false;
    QObject::connect(dialog->Progress(), &QProgressBar::valueChanged, dialog, [&](int value) {
        if (value != 30 || asked)
            return;
        asked = true;
        QTimer::singleShot(300, [&] {
            shoot(prefix + QStringLiteral("close-question.png"));
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        app.MainFrame()->close();
    });
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    waitClosed(dialog);

    // Cancel at block 31 of a write: the warning says how far it got, and the status bar keeps it.
    app.MainFrame()->FindCommand(CMainFrame::kWrite)->trigger();
    bool cancelled = false;
    QObject::connect(dialog->Progress(), &QProgressBar::valueChanged, dialog, [&](int value) {
        if (value != 31 || cancelled)
            return;
        cancelled = true;
        QTimer::singleShot(300, [&] {
            shoot(prefix + QStringLiteral("write-stopped.png"));
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    });
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    waitClosed(dialog);
    settle();
    shoot(prefix + QStringLiteral("write-stopped-status.png"));

    QTimer::singleShot(300, [&] {
        shoot(prefix + QStringLiteral("portsetting.png"));
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    app.MainFrame()->FindCommand(CMainFrame::kComSetup)->trigger();

    // The radio goes away: the port-open message.
    radio.reset();
    QTimer::singleShot(300, [&] {
        shoot(prefix + QStringLiteral("port-failed.png"));
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    app.MainFrame()->FindCommand(CMainFrame::kRead)->trigger();
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    waitClosed(dialog);
    return 0;
}
