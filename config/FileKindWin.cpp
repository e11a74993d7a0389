#include "config/FileKind.h"

#include "config/FileKindText.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>
#include <windows.h>

namespace FileKind {

namespace {

// The volume and file index of an existing file, through its links; false when it cannot be opened.
bool FileKindIdentityWin(const QString &path, BY_HANDLE_FILE_INFORMATION &info)
{
    HANDLE file = CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), 0,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
        nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool known = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return known;
}

} // namespace

QString Reason(unsigned mode)
{
    return NotRegularText((mode & _S_IFMT) == _S_IFDIR ? Thing::Folder : Thing::Other);
}

QString NotRegular(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return NotRegularText(Thing::Link);
    if (!info.exists() || info.isFile())
        return QString();
    return NotRegularText(info.isDir() ? Thing::Folder : Thing::Other);
}

bool SameFile(const QString &a, const QString &b)
{
    BY_HANDLE_FILE_INFORMATION first {}, second {};
    return FileKindIdentityWin(a, first) && FileKindIdentityWin(b, second)
        && first.dwVolumeSerialNumber == second.dwVolumeSerialNumber && first.nFileIndexHigh == second.nFileIndexHigh
        && first.nFileIndexLow == second.nFileIndexLow;
}

} // namespace FileKind
