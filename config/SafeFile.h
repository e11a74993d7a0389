#pragma once

#include <QByteArray>
#include <QString>

// The one way the program reads and writes whole files the user owns (data files, Program.ini).
// Names are taken as FileName makes them, so names that are not valid UTF-8 work too.
namespace SafeFile {

// Replaces the file at path with bytes. A symlink is followed and the file it points at is updated.
// Only a regular file (or a missing one) is replaced: a device, FIFO, socket or folder is refused and
// left alone. The new content goes to a temporary file beside the target, is flushed to the disk and
// only then renamed over the old file, so any failure leaves the old file exactly as it was. Where the
// folder cannot be written but the file can, the file is rewritten in place after its room has been
// made sure of. Leftovers of saves that were killed are removed on the way.
// Returns the empty text on success, else the reason, in the running language where it is ours.
QString Write(const QString &path, const QByteArray &bytes);

// Reads up to maxBytes (all when negative) of the regular file at path. The empty text on success,
// else the reason.
QString Read(const QString &path, qint64 maxBytes, QByteArray &bytes);

// The prefix of the temporary files a save of fileName makes beside it.
QByteArray TemporaryPrefix(const QByteArray &fileName);

} // namespace SafeFile
