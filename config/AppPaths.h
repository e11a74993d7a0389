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
    // This user's own copy of a configuration file, holding what the user changed over the installed
    // one: <config folder>/fieldcom-programmer/<fileName>.
    static QString UserCopy(const QString &fileName);
    // The one folder of this user's settings files: ~/.config/fieldcom-programmer on Linux (the
    // values of the settings themselves stay in the registry on Windows).
    static QString UserConfigDir();
    // The one folder of what the tool keeps for this user (backups, serial traces, logs), each in a
    // folder of its own below it: ~/.local/share/fieldcom-programmer on Linux,
    // %APPDATA%\fieldcom-programmer on Windows, ~/Library/Application Support/fieldcom-programmer on
    // macOS.
    static QString UserDataDir();
    // The folder the per-user data folders sit in (APPDATA on Windows, the generic data folder elsewhere).
    static QString UserDataBase();

    // The base-directory rules take only absolute folders from XDG_DATA_HOME, XDG_CONFIG_HOME and the
    // others: a relative value (which would put the user's files under whatever folder the program was
    // started in) is ignored as if unset, and relative entries of XDG_DATA_DIRS and XDG_CONFIG_DIRS are
    // dropped. Programs call this first thing, before anything reads the environment.
    static void IgnoreRelativeXdg();

private:
    static QString s_Override;
};
