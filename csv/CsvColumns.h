#pragma once

#include "csv/CsvText.h"

#include <QString>
#include <QStringList>
#include <array>

// The columns of a channel list by their header names, in any order and any case. Spreadsheets set to
// a European locale separate with ';', some tools with tabs: the header line decides which.
class CCsvColumns
{
public:
    // The columns this program knows, in the order of ChannelCsv::HeaderNames().
    enum Column {
        Location,
        Name,
        Frequency,
        Duplex,
        Offset,
        Tone,
        RToneFreq,
        CToneFreq,
        DtcsCode,
        DtcsPolarity,
        RxDtcsCode,
        CrossMode,
        Mode,
        TStep,
        Skip,
        Power,
        Comment,
        UrCall,
        Rpt1Call,
        Rpt2Call,
        DvCode,
        kColumnCount
    };

    struct File;

    CCsvColumns()
        : CCsvColumns(QStringList())
    {
    }
    explicit CCsvColumns(const QStringList &header, QChar separator = QLatin1Char(','));

    // Finds the separator (',', ';' or tab) that makes the first line name Location and Frequency and
    // reads the file with it. Refused: bytes that are no text it reads (UTF-32, a zero byte without
    // the mark of UTF-16), no such separator (the message names the one tried), a quote never closed
    // or closed on a later line than it opened, a layout column named twice.
    static File Read(const QByteArray &bytes, bool chinese);

    // The column's name as files write it: "rToneFreq".
    static QString NameOf(Column column);
    bool Has(Column column) const { return m_Index[column] >= 0; }
    // The trimmed field of the column; "" when the file has no such column.
    QString Get(const CsvText::Record& record, Column column) const;
    // A number field: in a file not separated by commas a decimal comma ("146,520000", as
    // spreadsheets of many locales write) reads as a decimal point.
    QString Number(const CsvText::Record& record, Column column) const;

private:
    std::array<int, kColumnCount> m_Index; // the header field of each column, -1 when none
    std::array<int, kColumnCount> m_Named; // how often the header names each column
    bool m_bDecimalComma = false;
};

// A whole file split into records with the separator its header line uses.
struct CCsvColumns::File {
    CsvText::Table table;
    QChar separator = QLatin1Char(',');
    CCsvColumns columns; // those the header line names
    // Why the file cannot be read as a channel list; empty when it can. The line is 0 for the file as
    // a whole.
    QString refusal;
    int refusalLine = 0;
};
