#include "csv/CsvColumns.h"

#include "config/Language.h"
#include "csv/ChannelCsv.h"

namespace {

constexpr CBilingual kNoColumns { "This is no channel list: its first line, split at %1, does not name the columns "
                                  "Location and Frequency. Columns may be separated by commas, semicolons or tabs.",
    "这不是信道表: 第一行按%1分隔后没有 Location 和 Frequency 列。列可以用逗号、分号或制表符分隔。" };
constexpr CBilingual kTabs { "tabs", "制表符" };
constexpr CBilingual kOpenQuote { "The quote opened on this line is never closed, so the rest of the file would "
                                  "be read as one field. Nothing was imported.",
    "此行开始的引号没有闭合, 文件其余部分会被读成一个字段。未导入任何内容。" };
constexpr CBilingual kNamedTwice { "The first line names the column \"%1\" twice.", "第一行两次给出列 \"%1\"。" };

const QChar kSeparators[] = { QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t') };
// Far more than any header line: the separator is looked for in this much of the file only.
constexpr qsizetype kHeaderBytes = 64 * 1024;

// Header names are nearly always plain ASCII: those are folded by hand, the rest by Qt's case rules.
QString key(const QString &name)
{
    QString folded = name.trimmed();
    for (QChar &c : folded) {
        const char16_t u = c.unicode();
        if (u >= 0x80)
            return folded.toLower();
        if (u >= u'A' && u <= u'Z')
            c = QChar(char16_t(u + (u'a' - u'A')));
    }
    return folded;
}

bool namesTheList(const QStringList &header)
{
    bool location = false, frequency = false;
    for (const QString &name : header) {
        const QString folded = key(name);
        location = location || folded == QLatin1String("location");
        frequency = frequency || folded == QLatin1String("frequency");
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
    for (int i = 0; i < header.size(); ++i)
        m_Index.insert(key(header.at(i)), i);
}

CCsvColumns::File CCsvColumns::Read(const QByteArray &bytes, bool chinese)
{
    File file;
    // The separator that splits the header line into the most fields, should none name the columns:
    // the one the refusal names.
    QChar likeliest = kSeparators[0];
    qsizetype mostFields = 0;
    bool found = false;
    for (QChar separator : kSeparators) {
        const CsvText::Table head = CsvText::Parse(bytes.left(kHeaderBytes), separator, 1);
        const QStringList header = head.records.empty() ? QStringList() : head.records.front().fields;
        if (namesTheList(header)) {
            file.separator = separator;
            found = true;
            break;
        }
        if (header.size() > mostFields) {
            mostFields = header.size();
            likeliest = separator;
        }
    }
    file.table = CsvText::Parse(bytes, file.separator);
    if (file.table.openQuoteLine > 0) {
        file.refusal = kOpenQuote.Text(chinese);
        file.refusalLine = file.table.openQuoteLine;
        return file;
    }
    if (!found) {
        file.refusal = kNoColumns.Text(chinese).arg(separatorName(likeliest, chinese));
        return file;
    }
    const CsvText::Record &header = file.table.records.front();
    // Each field folded once: a header line may hold thousands of fields.
    QHash<QString, int> named;
    for (const QString &field : header.fields)
        ++named[key(field)];
    for (const QString &name : ChannelCsv::HeaderNames()) {
        if (named.value(key(name)) > 1) {
            file.refusal = kNamedTwice.Text(chinese).arg(name);
            file.refusalLine = header.line;
            return file;
        }
    }
    return file;
}

bool CCsvColumns::Has(const char *name) const
{
    return m_Index.contains(key(QString::fromLatin1(name)));
}

QString CCsvColumns::Get(const CsvText::Record &record, const char *name) const
{
    const int i = m_Index.value(key(QString::fromLatin1(name)), -1);
    return i < 0 ? QString() : record.fields.value(i).trimmed();
}

QString CCsvColumns::Number(const CsvText::Record &record, const char *name) const
{
    QString text = Get(record, name);
    if (m_bDecimalComma)
        text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text;
}
