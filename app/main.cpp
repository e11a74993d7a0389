#include "app/MainFrame.h"
#include "app/ProgramApp.h"
#include "app/StartupReport.h"
#include "config/AppPaths.h"
#include "config/Console.h"
#include "config/FileSizeLimit.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

// Answered before the window system is needed, so it works on a terminal without a display.
constexpr const char* kUsage
    = "Usage: fieldcom-programmer [OPTIONS] [FILE]\n"
      "The radio programming window; FILE is a data file (*.dat) to open.\n"
      "  --port COMn=DEVICE           COMn opens DEVICE for this run only\n"
      "  --virtual-radio COMn=DEVICE  the same, saying that DEVICE is the virtual radio\n"
      "  -h, --help                   this text\n"
      "Program.ini, the language files and the help pages are read from the program's\n"
      "folder, or from ../share/fieldcom-programmer when installed.\n"
      "Per-user files:\n"
#if defined(Q_OS_WIN)
      "  HKEY_CURRENT_USER\\Software\\<AppName>  settings (port, radio type and band)\n"
      "  %LOCALAPPDATA%\\fieldcom-programmer\\   Program.ini with the keys you changed (language)\n"
      "  %APPDATA%\\fieldcom-programmer\\        Backups of every read, serial traces, logs\n"
#else
      "  ~/.config/fieldcom-programmer/       settings (port, radio type and band), and\n"
      "                                       Program.ini with the keys you changed (language)\n"
      "  ~/.local/share/fieldcom-programmer/  Backups of every read, serial traces, logs\n"
#endif
      "See also: program-cli --help, virtual-radio --help, man fieldcom-programmer.\n";

} // namespace

int main(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    CStartupReport::MarkProcessStart();
    // Before anything looks at the environment or writes a file.
    CAppPaths::IgnoreRelativeXdg();
    FileSizeLimit::IgnoreSignal();
    QApplication application(argc, argv);
    CProgramApp app;
    // What QApplication left of argv, as bytes: a file name that is not UTF-8 must still name its file
    // (on Windows the UTF-16 command line, which holds every name).
    if (!app.InitInstance(Console::Arguments(argc, argv)))
        return 1;
    CStartupReport::ArmIfRequested(app.MainFrame());
    return application.exec();
}
