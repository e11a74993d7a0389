#pragma once

#include <QByteArray>
#include <QString>

// Where a name leads once its symlinks are followed, the way the system itself follows them. A link
// that another user put in a shared sticky folder (/tmp) is not followed: the system refuses such links
// (fs.protected_symlinks), and a save through one would change a file of the user's that the link's
// owner picked. Everything that follows links for a save (the one writer, the file lock) asks here, so
// every name of one file reaches the same file and the same lock.
namespace LinkTarget {

// Follows the symlinks at path (as FileName bytes) to their end, which need not exist; a relative link
// is taken from the folder the link is in. False with the reason, in the running language where it is
// ours, when a link may not be followed or the chain does not end.
bool Resolve(QByteArray &path, QString &reason);
QString Resolve(const QString &path, QString &reason);

} // namespace LinkTarget
