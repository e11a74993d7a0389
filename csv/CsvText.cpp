#include "csv/CsvText.h"

#include "csv/CsvRecordReader.h"

namespace {

bool needsQuotes(const QString &field)
{
    for (const char special : { ',', '"', '\n', '\r' })
        if (field.contains(QLatin1Char(special)))
            return true;
    return field.startsWith(QLatin1Char(' ')) || field.endsWith(QLatin1Char(' '));
}

} // namespace

namespace CsvText {

QString Decode(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

Table Parse(const QByteArray& bytes, QChar separator, int limit)
{
    const QString text = Decode(bytes);
    CCsvRecordReader reader(text, separator);
    Table table;
    CsvText::Record record;
    while ((limit < 0 || qsizetype(table.records.size()) < limit) && reader.Next(record))
        table.records.push_back(std::move(record));
    table.openQuoteLine = reader.OpenQuoteLine();
    return table;
}

QString SpreadsheetText(const QString &text)
{
    static const QString starts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && starts.contains(text.front()))
        return QLatin1Char('\'') + text;
    return text;
}

QByteArray Line(const QStringList &fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString &field : fields) {
        if (needsQuotes(field))
            out << QLatin1Char('"') + QString(field).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
        else
            out << field;
    }
    return out.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

} // namespace CsvText
