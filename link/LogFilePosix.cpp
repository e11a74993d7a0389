#include "link/LogFile.h"

#include "config/FileName.h"
#include "config/Language.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Long enough for any append on a working disk; a holder stuck longer does not keep the record out.
constexpr int kLogLockWaitMs = 5000;
constexpr int kLogLockPollMs = 10;
constexpr CBilingual kLogNotAFile { "it is not a regular file", "它不是普通文件" };

QString LogErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray LogLockName(const QString& logPath)
{
    return FileName::ToBytes(
        QFileInfo(logPath).absoluteDir().filePath(QStringLiteral(".programming-log.lock")));
}

// A file-size limit raises SIGXFSZ, which would end the program in the middle of a transfer's
// bookkeeping: while it is blocked, the write fails with EFBIG instead, and the signal it left pending
// is taken away before the old mask is back.
class CFileSizeSignalHold {
public:
    CFileSizeSignalHold()
    {
        sigemptyset(&m_Signal);
        sigaddset(&m_Signal, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &m_Signal, &m_Previous);
    }
    ~CFileSizeSignalHold()
    {
        sigset_t pending;
        if (!sigismember(&m_Previous, SIGXFSZ) && sigpending(&pending) == 0
            && sigismember(&pending, SIGXFSZ)) {
            const timespec now {};
            while (sigtimedwait(&m_Signal, nullptr, &now) == SIGXFSZ) { }
        }
        pthread_sigmask(SIG_SETMASK, &m_Previous, nullptr);
    }
    CFileSizeSignalHold(const CFileSizeSignalHold&) = delete;
    CFileSizeSignalHold& operator=(const CFileSizeSignalHold&) = delete;

private:
    sigset_t m_Signal {};
    sigset_t m_Previous {};
};

} // namespace

namespace LogFile {

CLock::CLock(const QString& logPath)
{
    // A FIFO or a link put in the lock's place is neither waited on nor followed.
    const int fd = ::open(
        LogLockName(logPath).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0)
        return;
    struct stat status { };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return;
    }
    for (int waited = 0; waited <= kLogLockWaitMs; waited += kLogLockPollMs) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_nHandle = fd;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            break;
        QThread::msleep(kLogLockPollMs);
    }
    ::close(fd);
}

CLock::~CLock()
{
    if (m_nHandle != -1)
        ::close(int(m_nHandle)); // releases the flock
}

QString Append(const QString& path, QByteArray line)
{
    // O_NONBLOCK keeps a FIFO put in the log's place from holding the program up.
    const int fd = ::open(FileName::ToBytes(path).constData(),
        O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0)
        return LogErrorText(errno);
    struct stat status { };
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        return LogErrorText(error);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        return kLogNotAFile.Text();
    }
    // A record cut by a crash must not swallow this one: it starts a line of its own.
    char last = '\n';
    if (status.st_size > 0 && ::pread(fd, &last, 1, status.st_size - 1) == 1 && last != '\n')
        line.prepend('\n');

    int error = 0;
    qsizetype written = 0;
    {
        const CFileSizeSignalHold hold;
        while (written < line.size()) {
            const ssize_t n = ::write(fd, line.constData() + written, size_t(line.size() - written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                error = n < 0 ? errno : ENOSPC;
                break;
            }
            written += n;
        }
    }
    if (error != 0 && written > 0) {
        // Take back the part that went in, unless another writer has appended since.
        struct stat now { };
        if (::fstat(fd, &now) == 0 && now.st_size == status.st_size + written)
            ::ftruncate(fd, status.st_size);
    }
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    ::close(fd);
    return error == 0 ? QString() : LogErrorText(error);
}

Renamed RenameNoReplace(const QString& from, const QString& to)
{
    const QByteArray source = FileName::ToBytes(from);
    const QByteArray target = FileName::ToBytes(to);
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return Renamed::Done;
    if (errno == EEXIST)
        return Renamed::Exists;
    if (errno != EINVAL && errno != ENOSYS)
        return Renamed::Failed;
#endif
    // Where the file system has no such rename: a second name, which link never puts over a file, then
    // the first name goes.
    if (::link(source.constData(), target.constData()) != 0)
        return errno == EEXIST ? Renamed::Exists : Renamed::Failed;
    ::unlink(source.constData());
    return Renamed::Done;
}

} // namespace LogFile
