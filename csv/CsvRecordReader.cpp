#include "csv/CsvRecordReader.h"

#include <algorithm>

namespace {

constexpr QChar kQuote = QLatin1Char('"');
constexpr QChar kLf = QLatin1Char('\n');
constexpr QChar kCr = QLatin1Char('\r');

} // namespace

CCsvRecordReader::CCsvRecordReader(QStringView text, QChar separator)
    : m_Text(text)
    , m_Separator(separator)
{
    m_Next.fill(-1);
}

bool CCsvRecordReader::isCrLf(qsizetype at) const
{
    return m_Text[at] == kCr && at + 1 < m_Text.size() && m_Text[at + 1] == kLf;
}

// Where the plain run of characters from `from` ends. Each stop character is looked for with Qt's
// search, once for every time it is passed, so a wide line costs one pass, not one per field.
qsizetype CCsvRecordReader::runEnd(qsizetype from, bool quoted)
{
    const QChar stops[kStopCount] = { m_Separator, kQuote, kLf, kCr };
    qsizetype end = m_Text.size();
    for (int stop = quoted ? kQuoteStop : kSeparatorStop; stop < kStopCount; ++stop) {
        qsizetype& next = m_Next[stop];
        if (next < from) { // one not found again stays at the end of the text, never passed
            next = m_Text.indexOf(stops[stop], from);
            if (next < 0)
                next = m_Text.size();
        }
        end = std::min(end, next);
    }
    return end;
}

bool CCsvRecordReader::Next(CsvText::Record& record)
{
    record.line = m_Line;
    record.fields.clear();
    record.fields.reserve(m_LastFieldCount); // rows mostly have as many fields as the one before
    QString field;
    bool started = false; // something, even "", was read into this record
    const auto hasContent = [&] { return started || !field.isEmpty() || !record.fields.isEmpty(); };

    while (m_At < m_Text.size()) {
        const QChar c = m_Text[m_At];
        const bool lineBreak = c == kLf || c == kCr;
        if (m_bQuoted) {
            if (c == kQuote) {
                if (m_At + 1 < m_Text.size() && m_Text[m_At + 1] == kQuote) {
                    field += kQuote;
                    m_At += 2;
                } else {
                    m_bQuoted = false;
                    if (m_SpanOpenLine == m_QuoteLine && m_SpanCloseLine == 0)
                        m_SpanCloseLine = m_Line;
                    ++m_At;
                }
            } else if (lineBreak) {
                // A line break inside quotes belongs to the field.
                if (m_SpanOpenLine == 0)
                    m_SpanOpenLine = m_QuoteLine;
                const qsizetype length = isCrLf(m_At) ? 2 : 1;
                field += m_Text.sliced(m_At, length);
                m_At += length;
                ++m_Line;
            } else {
                const qsizetype end = runEnd(m_At + 1, true);
                field += m_Text.sliced(m_At, end - m_At);
                m_At = end;
            }
            continue;
        }
        if (lineBreak) {
            m_At += isCrLf(m_At) ? 2 : 1;
            ++m_Line;
            if (hasContent()) {
                record.fields << std::move(field);
                m_LastFieldCount = record.fields.size();
                return true;
            }
            record.line = m_Line; // an empty line gives no record
        } else if (c == m_Separator) {
            record.fields << std::move(field);
            field = QString();
            started = true;
            ++m_At;
        } else if (c == kQuote && field.isEmpty()) {
            m_bQuoted = true;
            m_QuoteLine = m_Line;
            started = true;
            ++m_At;
        } else {
            // A quote inside a field that has begun is an ordinary character.
            const qsizetype end = runEnd(m_At + 1, false);
            field += m_Text.sliced(m_At, end - m_At);
            m_At = end;
        }
    }
    if (!hasContent())
        return false;
    record.fields << std::move(field);
    m_LastFieldCount = record.fields.size();
    return true;
}
