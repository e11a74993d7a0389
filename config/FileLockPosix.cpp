#include "config/FileLockPlatform.h"

#include "config/FileName.h"

#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileLockPlatform {

bool ProcessGone(qint64 pid)
{
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

void RemoveAbandoned(const QString &path)
{
    // Every holder keeps an flock on its file; under that lock, and only while the name still leads to
    // the file judged above, is it removed, so a lock just made afresh by another writer is never lost.
    const QByteArray name = FileName::ToBytes(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return;
    struct stat opened {}, named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0
        && ::lstat(name.constData(), &named) == 0 && opened.st_ino == named.st_ino
        && opened.st_dev == named.st_dev)
        ::unlink(name.constData());
    ::close(fd);
}

qint64 NameCount(const QString &path)
{
    struct stat info {};
    if (::stat(FileName::ToBytes(path).constData(), &info) != 0)
        return 1;
    return qint64(info.st_nlink);
}

Held LockFile(const QString &path, int waitMs, qintptr &handle)
{
    const int fd = ::open(FileName::ToBytes(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Held::NothingThere;
    const QDeadlineTimer deadline(waitMs);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK || deadline.hasExpired()) {
            ::close(fd);
            return Held::Taken;
        }
        QThread::msleep(20);
    }
    handle = fd;
    return Held::Yes;
}

void Release(qintptr handle)
{
    ::close(int(handle)); // releases the flock
}

} // namespace FileLockPlatform
