#include "link/PortPermission.h"

#include "config/Language.h"
#include "link/DeviceAccess.h"

namespace {

// The group the serial devices of Debian and its relatives belong to.
const QString kSerialGroup = QStringLiteral("dialout");

constexpr CBilingual kPermissionRefused { "No permission to use %1.", "没有使用 %1 的权限。" };
constexpr CBilingual kJoinDialout {
    "No permission to use %1: add your user to the dialout group (sudo usermod -aG dialout $USER) "
    "and log in again.",
    "没有使用 %1 的权限: 请把用户加入 dialout 组 (sudo usermod -aG dialout $USER) 后重新登录。"
};
constexpr CBilingual kLogInAgain {
    "No permission to use %1: user %2 was added to the %3 group after this login began; log out and in "
    "again (or start a shell with newgrp %3).",
    "没有使用 %1 的权限: 用户 %2 是在本次登录之后才加入 %3 组的; 请注销后重新登录 (或用 newgrp %3 启动 shell)。"
};
constexpr CBilingual kOwnership { "No permission to use %1: it belongs to user %2 and group %3, mode %4.",
    "没有使用 %1 的权限: 其属主为用户 %2, 属组为 %3, 权限为 %4。" };
constexpr CBilingual kSomethingElse {
    " Its mode lets user %1 read and write it, so an access list or a security policy refuses it.",
    "权限允许用户 %1 读写, 因此是访问控制列表或安全策略拒绝了访问。"
};
constexpr CBilingual kGroupMayNot { " User %1 is in group %2 already, but the mode does not let the group read and write it.",
    "用户 %1 已在 %2 组中, 但权限不允许该组读写。" };
constexpr CBilingual kOwnerMayNot { " User %1 owns it, but the mode does not let the owner read and write it.",
    "用户 %1 是其属主, 但权限不允许属主读写。" };
constexpr CBilingual kNeither { " User %1 is neither %2 nor in group %3.", "用户 %1 既不是 %2, 也不在 %3 组中。" };

} // namespace

namespace PortPermission {

QString Reason(const QString &port, const CDeviceAccess &access, bool chinese)
{
    if (!access.known)
        return kPermissionRefused.Text(chinese).arg(port);
    // Outside the group that may use it: joining is the cure.
    if (!access.modeAllows && !access.isOwner && !access.inGroup && access.groupMayUse) {
        if (access.listedInGroup)
            return kLogInAgain.Text(chinese).arg(port, access.user, access.group);
        if (access.group == kSerialGroup)
            return kJoinDialout.Text(chinese).arg(port);
    }
    const QString facts = kOwnership.Text(chinese).arg(port, access.owner, access.group, access.modeText);
    if (access.modeAllows)
        return facts + kSomethingElse.Text(chinese).arg(access.user);
    if (access.isOwner)
        return facts + kOwnerMayNot.Text(chinese).arg(access.user);
    if (access.inGroup)
        return facts + kGroupMayNot.Text(chinese).arg(access.user, access.group);
    return facts + kNeither.Text(chinese).arg(access.user, access.owner, access.group);
}

} // namespace PortPermission
