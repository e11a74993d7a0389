#include "config/FileLock.h"

#include "config/FileKind.h"
#include "config/FileName.h"
#include "config/Language.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

constexpr qint64 kEmptyLockAgeMs = 1000;

constexpr CBilingual kHeld { "%1 is being saved by another program (%2, process %3 on %4); try again when it has finished",
                             "%1 正被另一个程序保存 (%2, 进程 %3, 主机 %4), 请在其完成后重试" };
constexpr CBilingual kNotALock { "%1 cannot be locked: its lock %2 is %3; remove it and try again",
                                 "无法锁定 %1: 其锁文件 %2 %3; 请删除后重试" };
constexpr CBilingual kHeldUnknown { "%1 is being saved by another program; try again when it has finished",
                                    "%1 正被另一个程序保存, 请在其完成后重试" };

// The file the lock belongs to: a symlink's final target, so that every name of one file shares a lock.
QString lockTarget(const QString &path)
{
    QString target = path;
    for (int hop = 0; hop < 40 && QFileInfo(target).isSymLink(); ++hop)
        target = QFileInfo(target).symLinkTarget();
    return target;
}

} // namespace

CFileLock::CFileLock(const QString &path)
    : m_strPath(path)
{
}

CFileLock::~CFileLock()
{
#ifdef Q_OS_UNIX
    if (m_nFileDescriptor >= 0)
        ::close(m_nFileDescriptor); // releases the flock
#endif
}

bool CFileLock::Lock(int waitMs)
{
    const QFileInfo target(lockTarget(m_strPath));
    const QString lockPath = target.dir().filePath(QLatin1Char('.') + target.fileName() + QStringLiteral(".lock"));
    // Only a regular file is a lock: anything else there (a FIFO would block reading it, a folder or a
    // symlink never goes away by itself) is named at once instead of being waited for.
    if (const QString kind = FileKind::NotRegular(lockPath); !kind.isEmpty()) {
        m_strError = kNotALock.Text().arg(FileName::Display(m_strPath), FileName::Display(lockPath), kind);
        return false;
    }
    m_pLockFile = std::make_unique<QLockFile>(lockPath);
    m_pLockFile->setStaleLockTime(0); // a live holder keeps its lock however long it takes
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        if (m_pLockFile->tryLock(0))
            return true;
        if (m_pLockFile->error() != QLockFile::LockFailedError || deadline.hasExpired())
            break;
        // A holder killed between making the lock file and writing its name into it leaves the file
        // empty, naming no process that could be found dead; once it is older than any live writer
        // needs for that, it is taken over.
        if (!m_pLockFile->getLockInfo(nullptr, nullptr, nullptr)
            && QFileInfo(lockPath).lastModified().msecsTo(QDateTime::currentDateTime()) > kEmptyLockAgeMs)
            m_pLockFile->removeStaleLockFile();
        QThread::msleep(20);
    }

    const QString name = FileName::Display(m_strPath);
    switch (m_pLockFile->error()) {
    case QLockFile::LockFailedError: {
        qint64 pid = 0;
        QString host, app;
        m_strError = m_pLockFile->getLockInfo(&pid, &host, &app)
            ? kHeld.Text().arg(name, app.isEmpty() ? QStringLiteral("?") : app).arg(pid).arg(host)
            : kHeldUnknown.Text().arg(name);
        return false;
    }
    default: // e.g. a read-only folder
        m_pLockFile.reset();
        return LockDataFile(waitMs);
    }
}

// No lock file can be made in a read-only folder; saves there rewrite the file in place, so a lock on
// the file itself holds across the whole read-modify-write.
bool CFileLock::LockDataFile(int waitMs)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(FileName::ToBytes(m_strPath).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return true; // nothing there to protect; the save itself will say what is wrong
    const QDeadlineTimer deadline(waitMs);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK || deadline.hasExpired()) {
            ::close(fd);
            m_strError = kHeldUnknown.Text().arg(FileName::Display(m_strPath));
            return false;
        }
        QThread::msleep(20);
    }
    m_nFileDescriptor = fd;
#else
    Q_UNUSED(waitMs);
#endif
    return true;
}
