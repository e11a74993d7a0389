#include "config/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString CAppPaths::s_Override;

#if !defined(Q_OS_WIN)
namespace {

constexpr const char *kXdgFolderVariables[] = { "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
                                                "XDG_RUNTIME_DIR" };
constexpr const char *kXdgListVariables[] = { "XDG_DATA_DIRS", "XDG_CONFIG_DIRS" };

#if !defined(Q_OS_MACOS)

// Qt's folder for location, or home/fallback where the variable behind it holds a relative folder.
QString xdgFolder(QStandardPaths::StandardLocation location, const char *variable, const char *fallback)
{
    const QByteArray value = qgetenv(variable);
    if (!value.isEmpty() && !value.startsWith('/'))
        return QDir::homePath() + QLatin1Char('/') + QLatin1String(fallback);
    return QStandardPaths::writableLocation(location);
}
#endif

} // namespace
#endif

void CAppPaths::IgnoreRelativeXdg()
{
#if !defined(Q_OS_WIN)
    for (const char *name : kXdgFolderVariables)
        if (const QByteArray value = qgetenv(name); !value.isEmpty() && !value.startsWith('/'))
            qunsetenv(name);
    for (const char *name : kXdgListVariables) {
        if (!qEnvironmentVariableIsSet(name))
            continue;
        QByteArrayList kept;
        for (const QByteArray &entry : qgetenv(name).split(':'))
            if (entry.startsWith('/'))
                kept << entry;
        if (kept.isEmpty())
            qunsetenv(name); // the default folders then, as for an unset variable
        else
            qputenv(name, kept.join(':'));
    }
#endif
}

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
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#else
    const QString base = xdgFolder(QStandardPaths::GenericConfigLocation, "XDG_CONFIG_HOME", ".config");
#endif
    return base + QLatin1Char('/') + QLatin1String(kInstalledDataFolder);
}

QString CAppPaths::UserDataBase()
{
#if defined(Q_OS_WIN)
    // The roaming application data, where the window kept its backups before.
    QString base = qEnvironmentVariable("APPDATA");
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#elif defined(Q_OS_MACOS)
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    const QString base = xdgFolder(QStandardPaths::GenericDataLocation, "XDG_DATA_HOME", ".local/share");
#endif
    return QDir::fromNativeSeparators(base);
}

QString CAppPaths::UserDataDir()
{
    return UserDataBase() + QLatin1Char('/') + QLatin1String(kInstalledDataFolder);
}
