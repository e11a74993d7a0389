#include "config/SafeFile.h"

#include "config/FileKind.h"
#include "config/FileName.h"
#include "config/LinkTarget.h"
#include "config/SafeFileSteps.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The one writer on a system with POSIX files.
namespace SafeFile {

namespace {

QString systemReason(int error)
{
    return qt_error_string(error);
}

QString kindReason(mode_t mode)
{
    return FileKind::Reason(mode);
}

QByteArray directoryOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray baseOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

bool writeAll(int fd, const QByteArray &bytes, off_t offset, int &error)
{
    if (Injected(Step::Write, error))
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, std::size_t(bytes.size() - done), offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            return false;
        }
        done += n;
    }
    return true;
}

// A disk that cannot keep the bytes says so here at the latest: the save has failed.
bool synced(int fd, int &error)
{
    if (Injected(Step::Sync, error))
        return false;
    if (::fsync(fd) == 0)
        return true;
    error = errno;
    return false;
}

void syncFolder(const QByteArray &directory)
{
    const int dirFd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

bool processIsGone(pid_t pid)
{
    return pid > 0 && pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH;
}

// A save killed half-way leaves ".NAME.saving-PID-XXXXXX"; those whose process has ended are removed.
// Temporaries of a save still running elsewhere stay.
void removeLeftovers(const QByteArray &directory, const QByteArray &fileName)
{
    DIR *dir = ::opendir(directory.constData());
    if (!dir)
        return;
    const QByteArray prefix = TemporaryPrefix(fileName);
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(prefix))
            continue;
        const QByteArray rest = name.mid(prefix.size());
        bool numeric = false;
        const long pid = rest.left(rest.indexOf('-')).toLong(&numeric);
        if (numeric && processIsGone(pid_t(pid)))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// The rights a new file gets: 0666 less the process's umask. Linux tells the umask without changing
// it; setting and restoring it is the fallback (another thread creating a file meanwhile would see 0).
mode_t newFileMode()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            bool ok = false;
            const uint mask = line.startsWith("Umask:") ? line.mid(6).trimmed().toUInt(&ok, 8) : 0;
            if (ok)
                return 0666 & ~mode_t(mask);
        }
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The folder does not let us create the temporary file, but the file itself may be writable. Writing
// in place cannot be atomic, so everything that can fail for lack of room is done before the first
// byte of the old content is touched: the file is first grown to the new size (its blocks really
// allocated), and only then overwritten and cut to length.
QString writeInPlace(const QByteArray &target, const QByteArray &bytes, const struct stat &old)
{
    const int fd = ::open(target.constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return systemReason(errno);
    int error = 0;
    if (bytes.size() > old.st_size) {
        error = ::posix_fallocate(fd, old.st_size, off_t(bytes.size() - old.st_size));
        if (error != 0) {
            ::ftruncate(fd, old.st_size); // give back what was reserved; the old bytes are untouched
            ::close(fd);
            return systemReason(error);
        }
    }
    bool ok = writeAll(fd, bytes, 0, error);
    if (ok && ::ftruncate(fd, off_t(bytes.size())) != 0)
        ok = false, error = errno;
    if (ok && !synced(fd, error))
        ok = false;
    if (::close(fd) != 0 && ok)
        ok = false, error = errno;
    return ok ? QString() : systemReason(error);
}

} // namespace

QString Write(const QString &path, const QByteArray &bytes)
{
    // The file a save must change: symlinks followed to their end, which need not exist yet.
    QByteArray target = FileName::ToBytes(path);
    if (QString refused; !LinkTarget::Resolve(target, refused))
        return refused;
    int error = 0;

    struct stat old {};
    bool exists = false;
    if (::stat(target.constData(), &old) == 0) {
        if (!S_ISREG(old.st_mode))
            return kindReason(old.st_mode);
        exists = true;
    } else if (errno != ENOENT) {
        return systemReason(errno);
    }

    // A file the user made read-only stays as it is, even where the folder would allow replacing it.
    if (exists && ::access(target.constData(), W_OK) != 0)
        return systemReason(errno);

    const QByteArray directory = directoryOf(target);
    const QByteArray fileName = baseOf(target);
    removeLeftovers(directory, fileName);

    QByteArray temporary = directory + '/' + TemporaryPrefix(fileName) + QByteArray::number(::getpid()) + "-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        if (exists && (error == EACCES || error == EPERM))
            return writeInPlace(target, bytes, old);
        return systemReason(error);
    }

    bool ok = writeAll(fd, bytes, 0, error);
    if (ok) {
        // The new file looks like the old one: same permissions, and the same owner where we may.
        if (exists) {
            ::fchmod(fd, old.st_mode & 07777);
            [[maybe_unused]] const int owned = ::fchown(fd, old.st_uid, old.st_gid);
        } else {
            ::fchmod(fd, newFileMode());
        }
        ok = synced(fd, error);
    }
    if (::close(fd) != 0 && ok)
        ok = false, error = errno;
    if (ok && Injected(Step::Rename, error))
        ok = false;
    if (ok && ::rename(temporary.constData(), target.constData()) != 0)
        ok = false, error = errno;
    if (!ok) {
        ::unlink(temporary.constData());
        return systemReason(error);
    }
    // The rename itself reaches the disk with the folder.
    syncFolder(directory);
    // The file's other names (hard links) still lead to the old content: the user must hear of it.
    if (exists && old.st_nlink > 1)
        LinkBroken(FileName::FromBytes(target), qint64(old.st_nlink) - 1);
    return QString();
}

QString Create(const QString &path, const QByteArray &bytes, bool *exists)
{
    if (exists)
        *exists = false;
    const QByteArray target = FileName::ToBytes(path);
    const QByteArray directory = directoryOf(target);
    QByteArray temporary = directory + '/' + TemporaryPrefix(baseOf(target)) + QByteArray::number(::getpid()) + "-XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return systemReason(errno);
    int error = 0;
    bool ok = writeAll(fd, bytes, 0, error);
    if (ok) {
        ::fchmod(fd, newFileMode());
        ok = synced(fd, error);
    }
    if (::close(fd) != 0 && ok)
        ok = false, error = errno;
    if (ok) {
        // Put in place under its name only where that name is free: a symlink there is never followed.
#ifdef RENAME_NOREPLACE
        if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
            temporary.clear();
        else if (errno != EINVAL && errno != ENOSYS)
            ok = false, error = errno;
#endif
        if (ok && !temporary.isEmpty() && ::link(temporary.constData(), target.constData()) != 0)
            ok = false, error = errno;
    }
    if (!temporary.isEmpty())
        ::unlink(temporary.constData());
    if (!ok) {
        if (exists)
            *exists = error == EEXIST;
        return systemReason(error);
    }
    syncFolder(directory);
    return QString();
}

int OpenAppend(const QString &path, bool exclusive, QString &reason)
{
    const QByteArray name = FileName::ToBytes(path);
    // Without blocking, so a FIFO put in the trace's place cannot hang the program.
    const int flags = O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | (exclusive ? O_EXCL : 0);
    const int fd = ::open(name.constData(), flags, 0666);
    struct stat info {};
    if (fd < 0) {
        const int error = errno;
        reason = ::lstat(name.constData(), &info) == 0 && !S_ISREG(info.st_mode) ? kindReason(info.st_mode)
                                                                                   : systemReason(error);
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = kindReason(info.st_mode);
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

QString Append(int fd, const QByteArray &bytes)
{
    int error = 0;
    qsizetype done = 0;
    if (Injected(Step::Write, error))
        return systemReason(error);
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return systemReason(n < 0 ? errno : ENOSPC);
        done += n;
    }
    return QString();
}

QString Read(const QString &path, qint64 maxBytes, QByteArray &bytes, qint64 *fileSize)
{
    // Opened without blocking, so a FIFO given as a data file cannot hang the program.
    const int fd = ::open(FileName::ToBytes(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return systemReason(errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const QString reason = kindReason(info.st_mode);
        ::close(fd);
        return reason;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (fileSize)
        *fileSize = info.st_size;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return file.errorString();
    }
    bytes = maxBytes < 0 ? file.readAll() : file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return QString();
}

void CloseAppend(int fd)
{
    if (fd >= 0)
        ::close(fd);
}

} // namespace SafeFile
