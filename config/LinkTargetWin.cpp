#include "config/LinkTarget.h"

#include "config/FileName.h"

#include <QFileInfo>

// No shared sticky folders here: a link is followed wherever it leads.
namespace LinkTarget {

QString Resolve(const QString &path, QString &reason)
{
    QString target = path;
    for (int hop = 0; hop < 40 && QFileInfo(target).isSymLink(); ++hop)
        target = QFileInfo(target).symLinkTarget();
    if (QFileInfo(target).isSymLink()) {
        reason = QStringLiteral("Too many levels of symbolic links");
        return QString();
    }
    return target;
}

bool Resolve(QByteArray &path, QString &reason)
{
    const QString target = Resolve(FileName::FromBytes(path), reason);
    if (target.isEmpty())
        return false;
    path = FileName::ToBytes(target);
    return true;
}

} // namespace LinkTarget
