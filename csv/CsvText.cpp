#include "csv/CsvText.h"

#include "csv/CsvRecordReader.h"

#include <QStringDecoder>

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

Decoded DecodeBytes(const QByteArray& bytes)
{
    Decoded decoded;
    // UTF-32 first: its little-endian mark begins as UTF-16's does.
    if (bytes.startsWith(QByteArrayView("\xFF\xFE\0\0", 4)) || bytes.startsWith(QByteArrayView("\0\0\xFE\xFF", 4))) {
        decoded.encoding = Encoding::Utf32;
        return decoded;
    }
    const bool littleEndian = bytes.startsWith("\xFF\xFE");
    if (littleEndian || bytes.startsWith("\xFE\xFF")) {
        decoded.encoding = littleEndian ? Encoding::Utf16LE : Encoding::Utf16BE;
        // Stateless: a last byte without its pair ends the text as U+FFFD, not silently.
        QStringDecoder toText(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
            QStringConverter::Flag::Stateless);
        decoded.text = toText.decode(QByteArrayView(bytes).sliced(2));
        return decoded;
    }
    // Text in UTF-8 has no zero byte; a file that has one is something else (UTF-16 without its mark,
    // a spreadsheet's own format, a data file).
    if (const qsizetype zero = bytes.indexOf('\0'); zero >= 0) {
        decoded.encoding = Encoding::NotText;
        decoded.zeroByteAt = zero;
        return decoded;
    }
    decoded.text = QString::fromUtf8(bytes);
    if (decoded.text.startsWith(QChar(0xFEFF)))
        decoded.text.remove(0, 1);
    return decoded;
}

QString Decode(const QByteArray& bytes)
{
    return DecodeBytes(bytes).text;
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
