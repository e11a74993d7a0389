#include "config/FileLockPlatform.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLockFile>
#include <QThread>

#include <windows.h>

namespace FileLockPlatform {

namespace {

HANDLE FileLockOpenWin(const QString &path, DWORD access)
{
    return CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), access,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

bool ProcessGone(qint64 pid)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (!process)
        return GetLastError() == ERROR_INVALID_PARAMETER; // no such process
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

void RemoveAbandoned(const QString &path)
{
    // Qt's lock file is held open by its owner without leave to delete it, so a lock in use is never
    // removed here: the removal fails while its holder lives.
    QLockFile(path).removeStaleLockFile();
}

qint64 NameCount(const QString &path)
{
    HANDLE file = FileLockOpenWin(path, 0);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    BY_HANDLE_FILE_INFORMATION info {};
    const qint64 names = GetFileInformationByHandle(file, &info) ? qint64(info.nNumberOfLinks) : 1;
    CloseHandle(file);
    return names;
}

Held LockFile(const QString &path, int waitMs, qintptr &handle)
{
    HANDLE file = FileLockOpenWin(path, GENERIC_READ);
    if (file == INVALID_HANDLE_VALUE)
        return Held::NothingThere;
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        OVERLAPPED whole {};
        if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole))
            break;
        if (GetLastError() != ERROR_LOCK_VIOLATION || deadline.hasExpired()) {
            CloseHandle(file);
            return Held::Taken;
        }
        QThread::msleep(20);
    }
    handle = reinterpret_cast<qintptr>(file);
    return Held::Yes;
}

void Release(qintptr handle)
{
    CloseHandle(reinterpret_cast<HANDLE>(handle)); // releases the lock
}

} // namespace FileLockPlatform
