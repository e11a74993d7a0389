#include "config/LinkTarget.h"

#include "config/FileName.h"
#include "config/Language.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr CBilingual kForeignLink {
    "a symbolic link that another user (uid %1) put in the shared folder %2: it is not followed, so the file it "
    "leads to stays as it is",
    "是其他用户 (uid %1) 在共享文件夹 %2 中放置的符号链接: 不予跟随, 其指向的文件保持不变"
};

QByteArray linkFolder(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// The rule the system applies to a link in a folder everyone may write but only owners may delete
// from: it is followed only for its own owner or when it belongs to the folder's owner.
bool mayFollowLink(const QByteArray &link, const struct stat &info, QString &reason)
{
    if (info.st_uid == ::geteuid())
        return true;
    const QByteArray folder = linkFolder(link);
    struct stat dir {};
    if (::stat(folder.constData(), &dir) != 0)
        return true; // the open itself will say what is wrong with the folder
    const bool shared = (dir.st_mode & S_ISVTX) && (dir.st_mode & S_IWOTH);
    if (!shared || dir.st_uid == info.st_uid)
        return true;
    reason = kForeignLink.Text().arg(info.st_uid).arg(FileName::Display(FileName::FromBytes(folder)));
    return false;
}

// The links among the folders on the way to path's last part (and on the way through their targets),
// by the same rule: the system applies it to every link it meets. Like the system, it gives up after
// 40 links in all.
bool mayPassFolders(const QByteArray &path, int &links, QString &reason)
{
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1)) {
        const QByteArray folder = path.left(slash);
        struct stat info {};
        if (::lstat(folder.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            continue;
        if (++links > 40) {
            reason = qt_error_string(ELOOP);
            return false;
        }
        if (!mayFollowLink(folder, info, reason))
            return false;
        QByteArray link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(folder.constData(), link.data(), link.size());
        if (length < 0)
            continue; // the system says what is wrong when it gets there
        link.truncate(length);
        const QByteArray target = link.startsWith('/') ? link : linkFolder(folder) + '/' + link;
        if (!mayPassFolders(target + "/.", links, reason))
            return false;
    }
    return true;
}

} // namespace

namespace LinkTarget {

bool Resolve(QByteArray &path, QString &reason)
{
    for (int hop = 0; hop < 40; ++hop) {
        int links = 0; // each hop is a lookup of its own
        if (!mayPassFolders(path, links, reason))
            return false;
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true;
        if (!mayFollowLink(path, info, reason))
            return false;
        QByteArray link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.constData(), link.data(), link.size());
        if (length < 0) {
            reason = qt_error_string(errno);
            return false;
        }
        link.truncate(length);
        path = link.startsWith('/') ? link : linkFolder(path) + '/' + link;
    }
    reason = qt_error_string(ELOOP);
    return false;
}

QString Resolve(const QString &path, QString &reason)
{
    QByteArray bytes = FileName::ToBytes(path);
    return Resolve(bytes, reason) ? FileName::FromBytes(bytes) : QString();
}

} // namespace LinkTarget
