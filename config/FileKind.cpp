#include "config/FileKind.h"

#include "config/FileName.h"
#include "config/Language.h"

#include <QFileInfo>

#include <sys/stat.h>

namespace FileKind {

namespace {

constexpr CBilingual kNotRegular { "not a regular file (%1)", "不是普通文件 (%1)" };
constexpr CBilingual kDevice { "a device", "设备" };
constexpr CBilingual kFifo { "a FIFO", "管道" };
constexpr CBilingual kSocket { "a socket", "套接字" };
constexpr CBilingual kFolder { "a folder", "文件夹" };
constexpr CBilingual kLink { "a symbolic link", "符号链接" };
constexpr CBilingual kOther { "not a file", "非文件" };

} // namespace

#ifdef Q_OS_UNIX

QString Reason(unsigned mode)
{
    const CBilingual &kind = S_ISLNK(mode)                      ? kLink
                             : S_ISDIR(mode)                  ? kFolder
                             : S_ISCHR(mode) || S_ISBLK(mode) ? kDevice
                             : S_ISFIFO(mode)                 ? kFifo
                             : S_ISSOCK(mode)                 ? kSocket
                                                              : kOther;
    return kNotRegular.Text().arg(kind.Text());
}

QString NotRegular(const QString &path)
{
    struct stat info {};
    if (::lstat(FileName::ToBytes(path).constData(), &info) != 0 || S_ISREG(info.st_mode))
        return QString();
    return Reason(info.st_mode);
}

bool SameFile(const QString &a, const QString &b)
{
    struct stat first {}, second {};
    return ::stat(FileName::ToBytes(a).constData(), &first) == 0 && ::stat(FileName::ToBytes(b).constData(), &second) == 0
        && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

#else

QString Reason(unsigned mode)
{
    return kNotRegular.Text().arg(((mode & _S_IFMT) == _S_IFDIR ? kFolder : kOther).Text());
}

QString NotRegular(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return kNotRegular.Text().arg(kLink.Text());
    return !info.exists() || info.isFile() ? QString() : kNotRegular.Text().arg((info.isDir() ? kFolder : kOther).Text());
}

bool SameFile(const QString &a, const QString &b)
{
    const QFileInfo first(a), second(b);
    return first.exists() && second.exists() && first.canonicalFilePath() == second.canonicalFilePath();
}

#endif

} // namespace FileKind
