#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

class QLockFile;

// Holds a data file for one read-modify-write, so two programs saving the same file never lose one of
// the changes. The lock is a file ".NAME.lock" beside the data file (symlinks followed, so every name of
// the file shares one lock); a lock left by a process that has ended is taken over. Where the folder
// cannot be written, the data file itself is locked instead.
class CFileLock
{
public:
    static constexpr int kDefaultWaitMs = 5000;

    explicit CFileLock(const QString &path);
    ~CFileLock();

    CFileLock(const CFileLock &) = delete;
    CFileLock &operator=(const CFileLock &) = delete;

    // Waits up to waitMs for the lock. False with Error() naming the other holder when it stays taken.
    bool Lock(int waitMs = kDefaultWaitMs);
    QString Error() const { return m_strError; }

private:
    bool LockOtherNames(const QString &target, int waitMs);
    bool LockFileItself(const QString &target, int waitMs);

    QString m_strPath;
    QString m_strError;
    std::unique_ptr<QLockFile> m_pLockFile;
    qintptr m_nFileHandle = -1; // the lock on the file itself, where one is held
};
