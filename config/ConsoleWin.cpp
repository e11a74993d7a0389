#include "config/Console.h"

#include <QCoreApplication>

#include <windows.h>

namespace Console {

bool ErrorIsTerminal()
{
    // A console answers GetConsoleMode; a file or a pipe does not.
    DWORD mode = 0;
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    return error != nullptr && error != INVALID_HANDLE_VALUE && GetConsoleMode(error, &mode);
}

void UseUtf8Output()
{
    SetConsoleOutputCP(CP_UTF8);
}

QStringList Arguments(int argc, char *argv[])
{
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return QCoreApplication::arguments().mid(1);
}

} // namespace Console
