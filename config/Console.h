#pragma once

#include <QStringList>

// The console and the command line the programs start with, one file per platform (ConsolePosix.cpp,
// ConsoleWin.cpp).
namespace Console {

// True when the error stream goes to a terminal (a person watches), not to a file or a pipe.
bool ErrorIsTerminal();
// Makes the console show the programs' UTF-8 output as it is (Chinese messages, file names).
void UseUtf8Output();
// The arguments after the program's name, after the application object took its own: on POSIX the
// bytes as FileName keeps them, so a name that is not UTF-8 still names its file; on Windows the
// UTF-16 command line, since argv holds only what the ANSI code page can say.
QStringList Arguments(int argc, char *argv[]);

} // namespace Console
