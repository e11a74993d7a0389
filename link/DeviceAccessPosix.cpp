#include "link/DeviceAccess.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The reentrant look-ups: the ports of a batch open on threads of their own, and the plain getpwuid
// and getgrgid share one buffer between them.
struct CUserEntry {
    struct passwd entry {};
    std::vector<char> buffer;
    bool found = false;
};
struct CGroupEntry {
    struct group entry {};
    std::vector<char> buffer;
    bool found = false;
};

CUserEntry deviceUserEntry(uid_t uid)
{
    CUserEntry user;
    struct passwd *result = nullptr;
    for (std::size_t size = 1024; size <= (1u << 20); size *= 4) {
        user.buffer.resize(size);
        const int error = ::getpwuid_r(uid, &user.entry, user.buffer.data(), size, &result);
        if (error != ERANGE)
            break;
    }
    user.found = result != nullptr;
    return user;
}

CGroupEntry deviceGroupEntry(gid_t gid)
{
    CGroupEntry group;
    struct group *result = nullptr;
    for (std::size_t size = 4096; size <= (1u << 22); size *= 4) {
        group.buffer.resize(size);
        const int error = ::getgrgid_r(gid, &group.entry, group.buffer.data(), size, &result);
        if (error != ERANGE)
            break;
    }
    group.found = result != nullptr;
    return group;
}

QString deviceUserName(uid_t uid)
{
    const CUserEntry user = deviceUserEntry(uid);
    return user.found && user.entry.pw_name ? QString::fromLocal8Bit(user.entry.pw_name) : QString::number(uid);
}

QString deviceGroupName(const CGroupEntry &group, gid_t gid)
{
    return group.found && group.entry.gr_name ? QString::fromLocal8Bit(group.entry.gr_name) : QString::number(gid);
}

// The groups this process runs with: its own and the supplementary ones of its login.
bool deviceGroupHeld(gid_t gid)
{
    if (::getegid() == gid)
        return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = ::getgroups(count, groups.data());
    for (int i = 0; i < got; ++i)
        if (groups[static_cast<std::size_t>(i)] == gid)
            return true;
    return false;
}

// Listed as a member in the group database (or the group is the user's own), whatever this login has.
bool deviceGroupListed(const CGroupEntry &group, gid_t gid, uid_t uid)
{
    const CUserEntry user = deviceUserEntry(uid);
    if (!user.found || !user.entry.pw_name)
        return false;
    if (user.entry.pw_gid == gid)
        return true;
    if (!group.found || !group.entry.gr_mem)
        return false;
    for (char **member = group.entry.gr_mem; *member; ++member)
        if (std::strcmp(*member, user.entry.pw_name) == 0)
            return true;
    return false;
}

QString deviceModeText(mode_t mode)
{
    QString text(10, QLatin1Char('-'));
    text[0] = S_ISCHR(mode) ? QLatin1Char('c') : S_ISBLK(mode) ? QLatin1Char('b') : S_ISDIR(mode) ? QLatin1Char('d') : QLatin1Char('-');
    const mode_t bits[9] = { S_IRUSR, S_IWUSR, S_IXUSR, S_IRGRP, S_IWGRP, S_IXGRP, S_IROTH, S_IWOTH, S_IXOTH };
    const char letters[] = "rwxrwxrwx";
    for (int i = 0; i < 9; ++i)
        if (mode & bits[i])
            text[i + 1] = QLatin1Char(letters[i]);
    return text;
}

} // namespace

CDeviceAccess CDeviceAccess::Of(const QString &path)
{
    CDeviceAccess access;
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return access;
    const uid_t uid = ::geteuid();
    access.known = true;
    access.owner = deviceUserName(info.st_uid);
    const CGroupEntry group = deviceGroupEntry(info.st_gid);
    access.group = deviceGroupName(group, info.st_gid);
    access.user = deviceUserName(uid);
    access.modeText = deviceModeText(info.st_mode);
    access.isOwner = info.st_uid == uid;
    access.inGroup = deviceGroupHeld(info.st_gid);
    access.listedInGroup = !access.inGroup && deviceGroupListed(group, info.st_gid, uid);
    const mode_t readWrite = S_IRGRP | S_IWGRP;
    access.groupMayUse = (info.st_mode & readWrite) == readWrite;
    // The system looks at the owner's bits for the owner, the group's for a member, the others' else.
    const mode_t applying = access.isOwner ? (S_IRUSR | S_IWUSR) : access.inGroup ? readWrite : (S_IROTH | S_IWOTH);
    access.modeAllows = (info.st_mode & applying) == applying;
    return access;
}
