#pragma once

#include <QByteArray>
#include <QString>

// What the programming log asks of the file system, one file per platform: a lock that every program
// of this user shares while it rotates and appends, an append that leaves either the whole record or
// nothing, and a rename that never replaces a file already there.
namespace LogFile {

// The lock beside the log, held from construction to destruction; every process and every thread
// that takes it waits for the one holding it. Held() is false where it could not be taken (a folder
// that cannot be written): the caller then appends but does not rotate.
class CLock {
public:
    explicit CLock(const QString& logPath);
    ~CLock();
    CLock(const CLock&) = delete;
    CLock& operator=(const CLock&) = delete;
    bool Held() const { return m_nHandle != -1; }

private:
    long long m_nHandle = -1;
};

// Appends line to the regular file at path (made, private to the user, when missing) and syncs it to
// the disk. No symlink is followed. A record cut short (a full disk, a file-size limit) is taken back,
// so the file ends as it was. A file whose last line is cut gets a line break first. The empty text on
// success, else the system's reason.
QString Append(const QString& path, QByteArray line);

enum class Renamed { Done, Exists, Failed };
// Renames from to to only when no file is called to; Exists when one is, and both stay as they were.
Renamed RenameNoReplace(const QString& from, const QString& to);

} // namespace LogFile
