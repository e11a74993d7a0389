#include "config/UserFilesMove.h"

#include "config/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The data folder of versions that named it after the running executable.
QString oldDataDir()
{
    return CAppPaths::UserDataBase() + QStringLiteral("/Program");
}

// A rename where it can be one, else a copy that is removed only once it is complete.
bool moveFile(const QString &from, const QString &to)
{
    if (QFile::rename(from, to))
        return true;
    if (!QFile::copy(from, to))
        return false;
    if (QFileInfo(to).size() != QFileInfo(from).size()) {
        QFile::remove(to);
        return false;
    }
    QFile::remove(from);
    return true;
}

} // namespace

QString CUserFilesMove::SettingsFileName(const QString &appName)
{
    return (appName.isEmpty() ? QStringLiteral("Software") : appName) + QStringLiteral(".ini");
}

bool CUserFilesMove::MoveSettings(const QString &appName)
{
#if defined(Q_OS_WIN)
    Q_UNUSED(appName);
    return false; // the registry key stays where it always was
#else
    const QString name = SettingsFileName(appName);
    const QString old = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QLatin1Char('/') + name;
    const QString now = CAppPaths::UserConfigDir() + QLatin1Char('/') + name;
    if (!QFileInfo(old).isFile() || QFileInfo::exists(now))
        return false;
    QDir().mkpath(CAppPaths::UserConfigDir());
    return moveFile(old, now);
#endif
}

int CUserFilesMove::MoveData()
{
    const QString old = oldDataDir();
    const QString now = CAppPaths::UserDataDir();
    // An install already named its folder as it is named now.
    if (!QFileInfo(old).isDir() || QDir(old).canonicalPath() == QDir(now).canonicalPath())
        return 0;
    int moved = 0;
    for (const char *folder : { "Backups", "traces" })
        moved += MoveFolder(old + QLatin1Char('/') + QLatin1String(folder), now + QLatin1Char('/') + QLatin1String(folder));
    QDir().rmdir(old); // only when nothing else is left in it
    return moved;
}

int CUserFilesMove::MoveFolder(const QString &from, const QString &to)
{
    const QDir source(from);
    if (!source.exists())
        return 0;
    if (!QDir().mkpath(to))
        return 0;
    int moved = 0;
    const QStringList files = source.entryList(QDir::Files | QDir::Hidden);
    for (const QString &file : files) {
        const QString target = to + QLatin1Char('/') + file;
        if (!QFileInfo::exists(target) && moveFile(source.filePath(file), target))
            ++moved;
    }
    QDir().rmdir(from);
    return moved;
}
