#pragma once

#include <QString>

struct CDeviceAccess;

// What a user is told when the system refuses a port: joining the dialout group is the usual cure, but
// only where the device belongs to that group and the user is not in it yet. Otherwise the device's
// owner, group and mode are named, with what keeps this user out.
namespace PortPermission {

// The line for port (as the user knows it, e.g. "COM3 (/dev/ttyUSB2)"), in English or Chinese.
QString Reason(const QString &port, const CDeviceAccess &access, bool chinese);

} // namespace PortPermission
