#pragma once

#include <QString>

// The executable directory: where "Program.ini", "Default.dat", the language files and the pictures
// are looked up.
class CAppPaths
{
public:
    // The running program's directory, with a trailing separator; tests may point it elsewhere.
    static QString ExecutableDir();
    static void SetExecutableDir(const QString &directory);
    static QString BesideExe(const QString &fileName);

private:
    static QString s_Override;
};
