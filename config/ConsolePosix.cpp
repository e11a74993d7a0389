#include "config/Console.h"

#include "config/FileName.h"

#include <unistd.h>

namespace Console {

bool ErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO) != 0;
}

void UseUtf8Output()
{
}

QStringList Arguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << FileName::FromBytes(QByteArray(argv[i]));
    return arguments;
}

} // namespace Console
