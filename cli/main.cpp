#include "config/AppPaths.h"
#include "config/Console.h"
#include "config/FileSizeLimit.h"
#include "config/Language.h"
#include "config/UserFilesMove.h"
#include "cli/CliContext.h"
#include "cli/CliLink.h"
#include "config/BrokenPipeGuard.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTranslator>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

int main(int argc, char *argv[])
{
    // Before anything looks at the environment or writes a file.
    CAppPaths::IgnoreRelativeXdg();
    FileSizeLimit::IgnoreSignal();
    // Drawing the printed report needs the graphics library, but never a display.
    std::unique_ptr<QCoreApplication> application;
    if (argc > 1 && std::strcmp(argv[1], "print") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    // Made before the streams, so it outlives their last flush: output that could not go out stays
    // buffered and is tried again at exit.
    std::optional<CBrokenPipeGuard> quietPipe;
    if (argc > 1 && CliLink::TalksToRadio(QString::fromLocal8Bit(argv[1])))
        quietPipe.emplace();
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Messages of the string table come in the configured language.
    CIniFile ini;
    ini.OpenBesideExe(QStringLiteral("Program.ini"), false, true, false);
    CUserFilesMove::MoveData();
    QTranslator translator;
    if (translator.load(CAppPaths::BesideExe(ini.GetValue(QStringLiteral("Setup"), QStringLiteral("Language"))
                                             + QStringLiteral(".qm"))))
        QCoreApplication::installTranslator(&translator);
    // The raw arguments: a file name is bytes, and QCoreApplication::arguments() would turn bytes that
    // are not UTF-8 into U+FFFD, naming another file (Windows: the UTF-16 command line).
    Console::UseUtf8Output();
    return RunCli(Console::Arguments(argc, argv), out, err);
}
