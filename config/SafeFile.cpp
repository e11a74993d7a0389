#include "config/SafeFile.h"

#include "config/FileName.h"
#include "config/Language.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace SafeFile {

namespace {

constexpr CBilingual kNotRegular { "not a regular file (%1)", "不是普通文件 (%1)" };
constexpr CBilingual kDevice { "a device", "设备" };
constexpr CBilingual kFifo { "a FIFO", "管道" };
constexpr CBilingual kSocket { "a socket", "套接字" };
constexpr CBilingual kFolder { "a folder", "文件夹" };
constexpr CBilingual kOther { "not a file", "非文件" };

} // namespace

QByteArray TemporaryPrefix(const QByteArray &fileName)
{
    // Cut so that the temporary name still fits where the file's own name just fits.
    return '.' + fileName.left(200) + ".saving-";
}

#ifdef Q_OS_UNIX

namespace {

QString systemReason(int error)
{
    return qt_error_string(error);
}

QString kindReason(mode_t mode)
{
    const CBilingual &kind = S_ISDIR(mode)                      ? kFolder
                             : S_ISCHR(mode) || S_ISBLK(mode) ? kDevice
                             : S_ISFIFO(mode)                 ? kFifo
                             : S_ISSOCK(mode)                 ? kSocket
                                                              : kOther;
    return kNotRegular.Text().arg(kind.Text());
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

// The file a save must change: symlinks followed to their end, which need not exist yet.
bool followLinks(QByteArray &path, int &error)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true;
        QByteArray link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.constData(), link.data(), link.size());
        if (length < 0) {
            error = errno;
            return false;
        }
        link.truncate(length);
        path = link.startsWith('/') ? link : directoryOf(path) + '/' + link;
    }
    error = ELOOP;
    return false;
}

bool writeAll(int fd, const QByteArray &bytes, off_t offset, int &error)
{
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
    if (ok && ::fsync(fd) != 0)
        ok = false, error = errno;
    if (::close(fd) != 0 && ok)
        ok = false, error = errno;
    return ok ? QString() : systemReason(error);
}

} // namespace

QString Write(const QString &path, const QByteArray &bytes)
{
    QByteArray target = FileName::ToBytes(path);
    int error = 0;
    if (!followLinks(target, error))
        return systemReason(error);

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
        if (::fsync(fd) != 0)
            ok = false, error = errno;
    }
    if (::close(fd) != 0 && ok)
        ok = false, error = errno;
    if (ok && ::rename(temporary.constData(), target.constData()) != 0)
        ok = false, error = errno;
    if (!ok) {
        ::unlink(temporary.constData());
        return systemReason(error);
    }
    // The rename itself reaches the disk with the folder.
    const int dirFd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return QString();
}

QString Read(const QString &path, qint64 maxBytes, QByteArray &bytes)
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

#else // platforms without POSIX files: Qt's own atomic save, which refuses what it cannot replace

QString Write(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    if (info.exists() && !QFileInfo(info.canonicalFilePath()).isFile())
        return kNotRegular.Text().arg(info.isDir() ? kFolder.Text() : kOther.Text());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit())
        return file.errorString();
    return QString();
}

QString Read(const QString &path, qint64 maxBytes, QByteArray &bytes)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return file.errorString();
    bytes = maxBytes < 0 ? file.readAll() : file.read(maxBytes);
    return file.error() == QFileDevice::NoError ? QString() : file.errorString();
}

#endif

} // namespace SafeFile
