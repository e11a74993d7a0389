#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// The one way the program reads and writes the files the user owns: data files, Program.ini, channel
// lists, reports, backups and traces. Names are taken as FileName makes them, so names that are not
// valid UTF-8 work too.
namespace SafeFile {

// Replaces the file at path with bytes. A symlink is followed and the file it points at is updated,
// except another user's link in a shared sticky folder, which the system would not follow either.
// Only a regular file (or a missing one) is replaced: a device, FIFO, socket or folder is refused and
// left alone. The new content goes to a temporary file beside the target, is flushed to the disk and
// only then renamed over the old file, so any failure leaves the old file exactly as it was. Where the
// folder cannot be written but the file can, the file is rewritten in place after its room has been
// made sure of. Leftovers of saves that were killed are removed on the way. A file with other names
// (hard links) is saved whole all the same, as a file of its own; the notice says so.
// Returns the empty text on success, else the reason, in the running language where it is ours.
QString Write(const QString &path, const QByteArray &bytes);

// Where a save that succeeded has something the user must hear (a hard link it broke). The program
// shows it where it shows warnings; unset, it goes unsaid.
void SetNotice(std::function<void(const QString &)> notice);

// Writes bytes as a new file at path, for files the program names itself (backups). Nothing already
// there is replaced or followed, a symlink (even a dangling one) included: then exists is set and the
// system's reason returned. The file appears under its name only when every byte reached the disk.
QString Create(const QString &path, const QByteArray &bytes, bool *exists = nullptr);

// Opens path for appending (a trace), creating it when missing, or only creating it when exclusive.
// A symlink, or anything but a regular file, is refused. The descriptor, or -1 with the reason.
int OpenAppend(const QString &path, bool exclusive, QString &reason);
// Appends all of bytes to a descriptor from OpenAppend. The empty text, else the reason.
QString Append(int fd, const QByteArray &bytes);
// Closes a descriptor from OpenAppend.
void CloseAppend(int fd);

// For tests: the next write of a file (a save, a backup, a trace line) fails at step with the system's
// error, as a failing disk would make it.
enum class Step { None, Write, Sync, Rename };
void FailNextWrite(Step step, int error);

// Reads up to maxBytes (all when negative) of the regular file at path; fileSize, when given, is set
// to the whole file's size. The empty text on success, else the reason.
QString Read(const QString &path, qint64 maxBytes, QByteArray &bytes, qint64 *fileSize = nullptr);

// The prefix of the temporary files a save of fileName makes beside it.
QByteArray TemporaryPrefix(const QByteArray &fileName);

} // namespace SafeFile
