#include "config/AppPaths.h"

#include <QCoreApplication>
#include <QDir>

QString CAppPaths::s_Override;

QString CAppPaths::ExecutableDir()
{
    QString dir = s_Override.isEmpty() ? QCoreApplication::applicationDirPath() : s_Override;
    if (dir.isEmpty())
        dir = QDir::currentPath();
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
