#include "csv/CsvColumns.h"

#include "config/Language.h"
#include "csv/ChannelCsv.h"
#include "csv/CsvRecordReader.h"

#include <QHash>

namespace {

constexpr CBilingual kNoColumns { "This is no channel list: its first line, split at %1, does not name the columns "
                                  "Location and Frequency. Columns may be separated by commas, semicolons or tabs.",
    "这不是信道表: 第一行按%1分隔后没有 Location 和 Frequency 列。列可以用逗号、分号或制表符分隔。" };
constexpr CBilingual kTabs { "tabs", "制表符" };
constexpr CBilingual kOpenQuote { "The quote opened on this line is never closed, so the rest of the file would "
                                  "be read as one field. Nothing was imported.",
    "此行开始的引号没有闭合, 文件其余部分会被读成一个字段。未导入任何内容。" };
constexpr CBilingual kSpanningQuote { "The quote opened on this line closes only on line %1, so lines %2 to %1 would be "
                                      "read as one row. A field of a channel list never spans lines. Nothing was imported.",
    "此行开始的引号到第 %1 行才闭合, 第 %2 至 %1 行会被读成一行。信道表的字段不会跨行。未导入任何内容。" };
constexpr CBilingual kUtf32 { "This file is UTF-32 text, which is not read here. Save it as UTF-8, or as UTF-16 "
                              "(a spreadsheet's \"Unicode text\"), and import that. Nothing was imported.",
    "此文件是 UTF-32 文本, 无法读取。请另存为 UTF-8 或 UTF-16 (电子表格的 \"Unicode 文本\") 后再导入。未导入任何内容。" };
constexpr CBilingual kNotText { "This file is not text: the byte at offset %1 is zero, which text in UTF-8 never holds "
                                "(UTF-16 text without its byte-order mark looks like this too). A channel list is text "
                                "in UTF-8, or in UTF-16 with a byte-order mark. Nothing was imported.",
    "此文件不是文本: 偏移 %1 处的字节为零, UTF-8 文本中不会出现 (没有字节顺序标记的 UTF-16 文本也是这样)。"
    "信道表应为 UTF-8 文本, 或带字节顺序标记的 UTF-16 文本。未导入任何内容。" };
constexpr CBilingual kNamedTwice { "The first line names the column \"%1\" twice.", "第一行两次给出列 \"%1\"。" };

const QChar kSeparators[] = { QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t') };
// Far more than any header line: the separator is looked for in this much of the file only.
constexpr qsizetype kHeaderBytes = 64 * 1024;

// Names match in any case and with blanks around them.
QString key(const QString& name)
{
    return name.trimmed().toLower();
}

// The known column a header field names, -1 for none. Files nearly always write the names as export
// does, and those are found without folding them.
int columnOf(const QString& name)
{
    static const QHash<QString, int> columns = [] {
        QHash<QString, int> byName;
        const QStringList names = ChannelCsv::HeaderNames();
        for (int i = 0; i < names.size(); ++i) {
            byName.insert(names.at(i), i);
            byName.insert(key(names.at(i)), i);
        }
        return byName;
    }();
    const auto found = columns.constFind(name);
    return found != columns.constEnd() ? found.value() : columns.value(key(name), -1);
}

bool namesTheList(const QStringList& header)
{
    bool location = false, frequency = false;
    for (const QString& name : header) {
        const int column = columnOf(name);
        location = location || column == CCsvColumns::Location;
        frequency = frequency || column == CCsvColumns::Frequency;
        if (location && frequency)
            return true;
    }
    return false;
}

QString separatorName(QChar separator, bool chinese)
{
    if (separator == QLatin1Char('\t'))
        return kTabs.Text(chinese);
    return QLatin1Char('"') + separator + QLatin1Char('"');
}

} // namespace

CCsvColumns::CCsvColumns(const QStringList &header, QChar separator)
    : m_bDecimalComma(separator != QLatin1Char(','))
{
    m_Index.fill(-1);
    m_Named.fill(0);
    // Each field looked up once: a header line may hold thousands of fields. A column named twice
    // takes its last field.
    for (int i = 0; i < header.size(); ++i) {
        const int column = columnOf(header.at(i));
        if (column >= 0) {
            m_Index[column] = i;
            ++m_Named[column];
        }
    }
}

CCsvColumns::File CCsvColumns::Read(const QByteArray &bytes, bool chinese)
{
    File file;
    const CsvText::Decoded decoded = CsvText::DecodeBytes(bytes);
    if (decoded.encoding == CsvText::Encoding::Utf32) {
        file.refusal = kUtf32.Text(chinese);
        return file;
    }
    if (decoded.encoding == CsvText::Encoding::NotText) {
        file.refusal = kNotText.Text(chinese).arg(decoded.zeroByteAt);
        return file;
    }
    const QString &text = decoded.text;
    // The separator is looked for in the first kHeaderBytes only. In all but giant files that is the
    // whole text, and the reader that found it reads on after the header line.
    const bool giant = bytes.size() > kHeaderBytes;
    const QString head = giant ? CsvText::Decode(bytes.left(kHeaderBytes)) : QString();
    const QStringView headText = giant ? QStringView(head) : QStringView(text);

    // The comma, unless another separator makes the header line name the columns. Should none, the
    // refusal names the one that splits the line into the most fields.
    CCsvRecordReader reader(headText, kSeparators[0]);
    CsvText::Record header;
    bool anyRecord = reader.Next(header);
    bool found = namesTheList(header.fields);
    QChar likeliest = kSeparators[0];
    qsizetype mostFields = header.fields.size();
    for (QChar separator : { kSeparators[1], kSeparators[2] }) {
        if (found)
            break;
        CCsvRecordReader candidate(headText, separator);
        CsvText::Record first;
        const bool read = candidate.Next(first);
        if (namesTheList(first.fields)) {
            reader = candidate;
            header = std::move(first);
            anyRecord = read;
            found = true;
        } else if (first.fields.size() > mostFields) {
            mostFields = first.fields.size();
            likeliest = separator;
        }
    }
    if (giant) {
        reader = CCsvRecordReader(text, reader.Separator());
        anyRecord = reader.Next(header);
    }
    file.separator = reader.Separator();
    std::vector<CsvText::Record>& records = file.table.records;
    if (anyRecord) {
        records.push_back(std::move(header));
        CsvText::Record record;
        while (reader.Next(record))
            records.push_back(std::move(record));
    }
    file.table.openQuoteLine = reader.OpenQuoteLine();

    if (file.table.openQuoteLine > 0) {
        file.refusal = kOpenQuote.Text(chinese);
        file.refusalLine = file.table.openQuoteLine;
        return file;
    }
    if (!found) {
        file.refusal = kNoColumns.Text(chinese).arg(separatorName(likeliest, chinese));
        return file;
    }
    // A quote opened on one line and closed on a later one swallows the rows between: no field of a
    // channel list holds a line break, so the file is taken as broken rather than read wrongly.
    if (reader.SpanOpenLine() > 0) {
        file.refusal = kSpanningQuote.Text(chinese).arg(reader.SpanCloseLine()).arg(reader.SpanOpenLine());
        file.refusalLine = reader.SpanOpenLine();
        return file;
    }
    file.columns = CCsvColumns(records.front().fields, file.separator);
    for (int column = 0; column < kColumnCount; ++column) {
        if (file.columns.m_Named[column] > 1) {
            file.refusal = kNamedTwice.Text(chinese).arg(NameOf(Column(column)));
            file.refusalLine = records.front().line;
            return file;
        }
    }
    return file;
}

QString CCsvColumns::NameOf(Column column)
{
    return ChannelCsv::HeaderNames().at(column);
}

QString CCsvColumns::Get(const CsvText::Record& record, Column column) const
{
    const int i = m_Index[column];
    return i < 0 ? QString() : record.fields.value(i).trimmed();
}

QString CCsvColumns::Number(const CsvText::Record& record, Column column) const
{
    QString text = Get(record, column);
    if (m_bDecimalComma)
        text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text;
}
