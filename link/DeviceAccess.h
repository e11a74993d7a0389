#pragma once

#include <QString>

// Who may use a device, as the system keeps it: owner, group and mode, and how this program stands to
// them. Looked at only after the system refused the port, to tell the user what is really in the way;
// it never decides whether a port is opened.
struct CDeviceAccess {
    bool known = false; // false where the system keeps no owner and mode, or the device could not be looked at
    QString owner; // user name, or the number when it has none
    QString group; // likewise
    QString user; // this program's user
    QString modeText; // as ls shows it: "crw-rw----"
    bool isOwner = false;
    bool inGroup = false; // this program runs with the device's group (primary or supplementary)
    // The user is a listed member of the device's group, but this login started before that: a new
    // login brings the group.
    bool listedInGroup = false;
    bool groupMayUse = false; // the mode lets the device's group read and write
    bool modeAllows = false; // the bits that apply to this program (owner, group or others) allow read and write

    // Looks at the device at path, links followed.
    static CDeviceAccess Of(const QString &path);
};
