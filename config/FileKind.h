#pragma once

#include <QString>

// What a name in the file system is, as far as the program's saves care: a regular file may be
// written, anything else (a device, a FIFO, a folder, a symlink where none may be) is named and left.
namespace FileKind {

// "not a regular file (a FIFO)" and so on for a stat mode; the language is the running one.
QString Reason(unsigned mode);
// The empty text when path is a regular file or missing; else Reason of what is there, without
// following a symlink ("not a regular file (a symbolic link)").
QString NotRegular(const QString &path);
// True when a and b lead to one existing file (same device and inode), through whatever symlinks or
// hard links: an output that would replace its own input.
bool SameFile(const QString &a, const QString &b);

} // namespace FileKind
