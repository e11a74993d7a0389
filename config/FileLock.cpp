#include "config/FileLock.h"

#include "config/FileKind.h"
#include "config/FileLockPlatform.h"
#include "config/FileName.h"
#include "config/Language.h"
#include "config/LinkTarget.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QThread>

namespace {

constexpr qint64 kEmptyLockAgeMs = 1000;

constexpr CBilingual kHeld { "%1 is being saved by another program (%2, process %3 on %4); try again when it has finished",
                             "%1 正被另一个程序保存 (%2, 进程 %3, 主机 %4), 请在其完成后重试" };
constexpr CBilingual kNotALock { "%1 cannot be locked: its lock %2 is %3; remove it and try again",
                                 "无法锁定 %1: 其锁文件 %2 %3; 请删除后重试" };
constexpr CBilingual kLockRefused { "Cannot save %1: %2", "无法保存 %1: %2" };
constexpr CBilingual kHeldUnknown { "%1 is being saved by another program; try again when it has finished",
                                    "%1 正被另一个程序保存, 请在其完成后重试" };

// A lock file, or the ".rmlock" guard QLockFile makes while it takes over a stale lock, whose holder
// has ended is removed: either it names a process of this host that is gone, or it was left empty (the
// holder killed between making it and writing its name) longer ago than any live writer needs. The
// guard matters as much as the lock: one left empty would keep every save out for half a minute.
void removeIfAbandoned(const QString &path)
{
    qint64 pid = 0;
    QString host;
    if (QLockFile(path).getLockInfo(&pid, &host, nullptr)) {
        if (host != QSysInfo::machineHostName())
            return;
        if (!FileLockPlatform::ProcessGone(pid))
            return;
    } else if (QFileInfo(path).lastModified().msecsTo(QDateTime::currentDateTime()) <= kEmptyLockAgeMs) {
        return;
    }
    FileLockPlatform::RemoveAbandoned(path);
}

} // namespace

CFileLock::CFileLock(const QString &path)
    : m_strPath(path)
{
}

CFileLock::~CFileLock()
{
    if (m_nFileHandle != -1)
        FileLockPlatform::Release(m_nFileHandle);
}

bool CFileLock::Lock(int waitMs)
{
    // The file the lock belongs to: a symlink's final target, so that every name of one file shares a
    // lock; a link the system would not follow is refused as the save would refuse it.
    QString refused;
    const QString resolved = LinkTarget::Resolve(m_strPath, refused);
    if (!refused.isEmpty()) {
        m_strError = kLockRefused.Text().arg(FileName::Display(m_strPath), refused);
        return false;
    }
    const QFileInfo target(resolved);
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
            return LockOtherNames(resolved, waitMs);
        if (m_pLockFile->error() != QLockFile::LockFailedError || deadline.hasExpired())
            break;
        // Whatever a killed writer left, up the chain of guards, before the next try.
        QString path = lockPath;
        for (int depth = 0; depth < 3 && QFileInfo::exists(path); ++depth, path += QStringLiteral(".rmlock"))
            removeIfAbandoned(path);
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
        return LockFileItself(resolved, waitMs);
    }
}

// A file with several names (hard links) has one lock file per name; writers through the names then
// also meet on the file itself.
bool CFileLock::LockOtherNames(const QString &target, int waitMs)
{
    if (FileLockPlatform::NameCount(target) < 2)
        return true;
    if (LockFileItself(target, waitMs))
        return true;
    m_pLockFile.reset();
    return false;
}

// No lock file can be made in a read-only folder; saves there rewrite the file in place, so a lock on
// the file itself holds across the whole read-modify-write.
bool CFileLock::LockFileItself(const QString &target, int waitMs)
{
    switch (FileLockPlatform::LockFile(target, waitMs, m_nFileHandle)) {
    case FileLockPlatform::Held::Taken:
        m_strError = kHeldUnknown.Text().arg(FileName::Display(m_strPath));
        return false;
    case FileLockPlatform::Held::Yes:
    case FileLockPlatform::Held::NothingThere: // the save itself will say what is wrong
        break;
    }
    return true;
}
