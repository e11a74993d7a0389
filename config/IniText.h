#pragma once

#include <QByteArray>
#include <QString>

// The bytes of Program.ini as text. A file that is valid UTF-8 (with or without a byte-order mark) is
// UTF-8; any other is taken as written on a Chinese Windows machine, in GB18030 (which contains GBK).
// The file is written back the way it was read: same encoding, same mark, same line endings, so the
// texts of a file that is only read and saved come back byte for byte.
namespace IniText {

enum class Encoding { Utf8, Gb18030 };

struct Format
{
    Encoding encoding = Encoding::Utf8;
    bool byteOrderMark = false;
#ifdef Q_OS_WIN
    bool crlf = true;
#else
    bool crlf = false; // a file without any line break keeps the platform's own
#endif
};

// The text of bytes, and the format they came in.
QString Decode(const QByteArray &bytes, Format &format);
// text, whose lines end in "\n", as bytes of format.
QByteArray Encode(const QString &text, const Format &format);

} // namespace IniText
