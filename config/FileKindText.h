#pragma once

#include <QString>

// What FileKind's platform files (FileKindPosix.cpp, FileKindWin.cpp) share: the texts.
namespace FileKind {

enum class Thing { Link, Folder, Device, Fifo, Socket, Other };
// "not a regular file (a FIFO)" and so on, in the running language.
QString NotRegularText(Thing thing);

} // namespace FileKind
