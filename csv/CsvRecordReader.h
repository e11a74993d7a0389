#pragma once

#include "csv/CsvText.h"

#include <QStringView>
#include <array>

// Delimited text read one record at a time, so a caller can look at the first line before it reads
// the rest, and read the rest without starting over.
class CCsvRecordReader {
public:
    // The text must outlive the reader.
    CCsvRecordReader(QStringView text, QChar separator);

    QChar Separator() const { return m_Separator; }
    // Reads the next record; false when the text holds no more.
    bool Next(CsvText::Record& record);
    // The line of a quote still open where reading stopped, 0 when none is.
    int OpenQuoteLine() const { return m_bQuoted ? m_QuoteLine : 0; }
    // The first quoted field read so far that ran over a line break: the line its quote opened on and
    // the line it closed on (0 while still open); 0 and 0 when no field has.
    int SpanOpenLine() const { return m_SpanOpenLine; }
    int SpanCloseLine() const { return m_SpanCloseLine; }

private:
    // The characters that end a plain run of a field.
    enum Stop { kSeparatorStop, kQuoteStop, kLfStop, kCrStop, kStopCount };
    qsizetype runEnd(qsizetype from, bool quoted);
    bool isCrLf(qsizetype at) const;

    QStringView m_Text;
    QChar m_Separator;
    qsizetype m_At = 0;
    int m_Line = 1;
    bool m_bQuoted = false;
    int m_QuoteLine = 0;
    int m_SpanOpenLine = 0;
    int m_SpanCloseLine = 0;
    qsizetype m_LastFieldCount = 0;
    std::array<qsizetype, kStopCount> m_Next {}; // where each stop was last found; searched again once passed
};
