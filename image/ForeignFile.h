#pragma once

#include <QByteArray>
#include <QString>

// What a file that is no data file of this radio looks like, for the lines under "Data Format Error":
// its first bytes and size against those of a data file, and for a channel list the way to bring it in.
namespace ForeignFile {

// "channels.csv is not a data file of this radio: it starts with 4C 6F 63 61 74 69 6F 6E ("Location")
// and holds 812 bytes; a data file starts with Q707 and holds 1,040 bytes."
QString Why(const QString &name, const QByteArray &start, qint64 size, bool chinese);

// Whether the bytes look like a channel list: UTF-8 text (a BOM allowed) without control bytes other
// than tab, CR and LF, whose first line holds a comma.
bool LooksLikeChannelList(const QByteArray &start);

// Where a channel list goes in: File > Import CSV in the window, program-cli import on the command line.
QString ImportHint(const QString &path, bool chinese);

} // namespace ForeignFile
