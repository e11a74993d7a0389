#include "csv/CsvText.h"

namespace {

bool needsQuotes(const QString &field)
{
    for (QChar c : field)
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            return true;
    return field.startsWith(QLatin1Char(' ')) || field.endsWith(QLatin1Char(' '));
}

} // namespace

namespace CsvText {

Table Parse(const QByteArray &bytes, QChar separator, int limit)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    Table table;
    std::vector<Record> &records = table.records;
    Record record;
    QString field;
    bool quoted = false;
    bool fieldStarted = false; // something (even "") was read into this record
    int line = 1;
    int quoteLine = 0;
    record.line = 1;

    const auto endField = [&] {
        record.fields << field;
        field.clear();
    };
    const auto endRecord = [&] {
        if (fieldStarted || !field.isEmpty() || !record.fields.isEmpty()) {
            endField();
            records.push_back(std::move(record));
        }
        record = Record();
        fieldStarted = false;
    };

    for (qsizetype i = 0; i < text.size() && (limit < 0 || qsizetype(records.size()) < limit); ++i) {
        const QChar c = text.at(i);
        const bool lineBreak = c == QLatin1Char('\n') || c == QLatin1Char('\r');
        const bool crlf = c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n');
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else if (!lineBreak) {
                // The run up to the next quote or line break, in one append.
                qsizetype end = i + 1;
                while (end < text.size() && text.at(end) != QLatin1Char('"') && text.at(end) != QLatin1Char('\n')
                    && text.at(end) != QLatin1Char('\r'))
                    ++end;
                field += QStringView(text).sliced(i, end - i);
                i = end - 1;
            } else {
                field += c;
                if (crlf)
                    field += text.at(++i);
                ++line;
            }
            continue;
        }
        if (lineBreak) {
            if (crlf)
                ++i;
            endRecord();
            record.line = ++line;
        } else if (c == separator) {
            endField();
            fieldStarted = true;
        } else if (c == QLatin1Char('"') && field.isEmpty()) {
            quoted = true;
            quoteLine = line;
            fieldStarted = true;
        } else {
            // The run up to the next separator, quote or line break, in one append.
            qsizetype end = i + 1;
            while (end < text.size() && text.at(end) != separator && text.at(end) != QLatin1Char('"')
                && text.at(end) != QLatin1Char('\n') && text.at(end) != QLatin1Char('\r'))
                ++end;
            field += QStringView(text).sliced(i, end - i);
            i = end - 1;
        }
    }
    if (quoted)
        table.openQuoteLine = quoteLine;
    if (limit < 0 || qsizetype(records.size()) < limit)
        endRecord();
    return table;
}

QByteArray Line(const QStringList &fields)
{
    QStringList out;
    for (const QString &field : fields) {
        if (needsQuotes(field))
            out << QLatin1Char('"') + QString(field).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
        else
            out << field;
    }
    return out.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

} // namespace CsvText
