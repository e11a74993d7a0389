#pragma once

#include <QString>

// Brings what earlier versions kept for this user into the one place they live now, once: the
// settings file from the configuration folder itself into its fieldcom-programmer folder, and the
// backups and serial traces the window kept under its executable's name ("Program") into the per-user
// data folder. Nothing is ever overwritten: a file the new place already holds stays where it was.
class CUserFilesMove
{
public:
    // The settings file of the product named appName ([Setup] AppName); called before it is read.
    // True when a file was moved.
    static bool MoveSettings(const QString &appName);
    // The data folders; the number of files moved.
    static int MoveData();

    // The settings file name of appName: an empty name stands for the key "Software\" itself.
    static QString SettingsFileName(const QString &appName);

private:
    static int MoveFolder(const QString &from, const QString &to);
};
