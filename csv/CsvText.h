#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <vector>

// Delimited text as spreadsheets write it: fields may be quoted, a quote inside doubled, and a quoted
// field may hold separators and line breaks. UTF-8, with or without a byte-order mark, or UTF-16 with
// one (a spreadsheet's "Unicode text").
namespace CsvText {

struct Record
{
    int line = 0; // the line the record starts on, from 1
    QStringList fields;
};

struct Table
{
    std::vector<Record> records;
    // The line of a quote still open at the end of the text (its field then ran to the end); 0 when
    // every quote is closed.
    int openQuoteLine = 0;
};

// What the first bytes of a file say it is, and whether it can be read as text.
enum class Encoding {
    Utf8, // with or without its byte-order mark
    Utf16LE,
    Utf16BE,
    Utf32, // its byte-order mark, either order: not read
    NotText, // no mark of UTF-16 or UTF-32, and a zero byte, which UTF-8 text never holds
};

struct Decoded
{
    QString text; // without the byte-order mark; empty when the bytes cannot be read
    Encoding encoding = Encoding::Utf8;
    qsizetype zeroByteAt = -1; // NotText: the offset of the first zero byte
    bool Readable() const { return encoding != Encoding::Utf32 && encoding != Encoding::NotText; }
};

// The text of the bytes by their byte-order mark: UTF-8 when there is none. A broken character reads
// as U+FFFD in every encoding.
Decoded DecodeBytes(const QByteArray& bytes);
// DecodeBytes' text.
QString Decode(const QByteArray& bytes);

// Splits text into records at the separator; a lone CR, LF or CRLF ends a line. Empty lines give no
// record. With a limit, stops after that many records.
Table Parse(const QByteArray &bytes, QChar separator = QLatin1Char(','), int limit = -1);

// A text cell as a spreadsheet should show it: one that begins with = + - @, a tab or a CR would be
// taken for a formula, so it gets a leading apostrophe. Only for free text: numbers and codes that must
// read back as they were ("-" for a duplex, -5 for a number) are written as they are.
QString SpreadsheetText(const QString &text);

// One line of fields, comma-separated, quoted where needed, ended with CRLF.
QByteArray Line(const QStringList &fields);

} // namespace CsvText
