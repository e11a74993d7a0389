#include "config/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString CAppPaths::s_Override;

QString CAppPaths::ExecutableDir()
{
    QString dir = s_Override.isEmpty() ? QCoreApplication::applicationDirPath() : s_Override;
    if (dir.isEmpty())
        dir = QDir::currentPath();
    // Installed the freedesktop way, the programs sit in <prefix>/bin and what belongs beside them
    // (Program.ini, the language files, help pages) in <prefix>/share/fieldcom-programmer.
    if (s_Override.isEmpty() && !QFileInfo::exists(dir + QStringLiteral("/Program.ini"))) {
        const QString shared = dir + QStringLiteral("/../share/") + QLatin1String(kInstalledDataFolder);
        if (QFileInfo::exists(shared + QStringLiteral("/Program.ini")))
            dir = QDir::cleanPath(shared);
    }
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

void CAppPaths::SetExecutableDir(const QString &directory)
{
    s_Override = directory;
}

QString CAppPaths::BesideExe(const QString &fileName)
{
    return ExecutableDir() + fileName;
}

QString CAppPaths::UserCopy(const QString &fileName)
{
    return UserConfigDir() + QLatin1Char('/') + fileName;
}

QString CAppPaths::UserConfigDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
        + QLatin1String(kInstalledDataFolder);
}

QString CAppPaths::UserDataBase()
{
#if defined(Q_OS_WIN)
    // The roaming application data, where the window kept its backups before.
    QString base = qEnvironmentVariable("APPDATA");
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#endif
    return QDir::fromNativeSeparators(base);
}

QString CAppPaths::UserDataDir()
{
    return UserDataBase() + QLatin1Char('/') + QLatin1String(kInstalledDataFolder);
}
