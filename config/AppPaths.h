#pragma once

#include <QString>

// The executable directory: where "Program.ini", "Default.dat", the language files and the pictures
// are looked up.
class CAppPaths
{
public:
    // The folder under <prefix>/share that an install puts the executable directory's files in.
    static constexpr const char *kInstalledDataFolder = "fieldcom-programmer";

    // The running program's directory, with a trailing separator; tests may point it elsewhere.
    static QString ExecutableDir();
    static void SetExecutableDir(const QString &directory);
    static QString BesideExe(const QString &fileName);
    // This user's own copy of a configuration file, for an install the user cannot write to:
    // <config folder>/fieldcom-programmer/<fileName>.
    static QString UserCopy(const QString &fileName);

private:
    static QString s_Override;
};
