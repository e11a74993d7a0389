#include "config/FileKind.h"

#include "config/FileKindText.h"
#include "config/FileName.h"

#include <sys/stat.h>

namespace FileKind {

QString Reason(unsigned mode)
{
    return NotRegularText(S_ISLNK(mode)                  ? Thing::Link
                          : S_ISDIR(mode)                  ? Thing::Folder
                          : S_ISCHR(mode) || S_ISBLK(mode) ? Thing::Device
                          : S_ISFIFO(mode)                 ? Thing::Fifo
                          : S_ISSOCK(mode)                 ? Thing::Socket
                                                           : Thing::Other);
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

} // namespace FileKind
