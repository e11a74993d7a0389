#include "link/DeviceAccess.h"

// Windows keeps no owner, group and mode on a COM port that a user could change: a refused port is
// said as refused.
CDeviceAccess CDeviceAccess::Of(const QString &)
{
    return {};
}
