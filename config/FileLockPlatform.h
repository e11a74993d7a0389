#pragma once

#include <QString>
#include <QtGlobal>

// What CFileLock asks of the system, one file per platform (FileLockPosix.cpp, FileLockWin.cpp).
namespace FileLockPlatform {

// True when process pid of this host has certainly ended.
bool ProcessGone(qint64 pid);
// Removes the abandoned lock file at path, but never one that another writer has just made afresh.
void RemoveAbandoned(const QString &path);
// How many names (hard links) the existing file at path has; 1 when unknown.
qint64 NameCount(const QString &path);
// Locks the file at path itself, waiting up to waitMs. Held: handle is set, released by Release.
// NothingThere: no file to protect.
enum class Held { Yes, Taken, NothingThere };
Held LockFile(const QString &path, int waitMs, qintptr &handle);
void Release(qintptr handle);

} // namespace FileLockPlatform
