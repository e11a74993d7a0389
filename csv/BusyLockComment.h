#pragma once

#include <QString>
#include <optional>

// The busy-channel lockout has no column of its own: it rides in Comment as "busy=Off",
// "busy=Carrier" or "busy=QT/DQT", which other tools keep as plain text.
namespace BusyLockComment {

QString Write(const QString &busyLockText);
// The busy-lock text (English) a comment names, or nothing when it names none.
std::optional<QString> Read(const QString &comment);

} // namespace BusyLockComment
