#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// Comma-separated text as spreadsheets write it: fields may be quoted, a quote inside doubled, and a
// quoted field may hold commas and line breaks. UTF-8, with or without a byte-order mark.
namespace CsvText {

struct Record
{
    int line = 0; // the line the record starts on, from 1
    QStringList fields;
};

// Splits text into records; a lone CR, LF or CRLF ends a line. A quote left open runs to the end of
// the text. Empty lines give no record.
std::vector<Record> Parse(const QByteArray &bytes);

// One line of fields, quoted where needed, ended with CRLF.
QByteArray Line(const QStringList &fields);

} // namespace CsvText
