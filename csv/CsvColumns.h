#pragma once

#include "csv/CsvText.h"

#include <QHash>
#include <QString>
#include <QStringList>

// The columns of a channel list by their header names, in any order and any case. Spreadsheets set to
// a European locale separate with ';', some tools with tabs: the header line decides which.
class CCsvColumns
{
public:
    // A whole file split into records with the separator its header line uses.
    struct File
    {
        CsvText::Table table;
        QChar separator = QLatin1Char(',');
        // Why the file cannot be read as a channel list; empty when it can. The line is 0 for the
        // file as a whole.
        QString refusal;
        int refusalLine = 0;
    };

    CCsvColumns() = default;
    explicit CCsvColumns(const QStringList &header, QChar separator = QLatin1Char(','));

    // Finds the separator (',', ';' or tab) that makes the first line name Location and Frequency and
    // reads the file with it. Refused: no such separator (the message names the one tried), a quote
    // never closed, a layout column named twice.
    static File Read(const QByteArray &bytes, bool chinese);

    bool Has(const char *name) const;
    // The trimmed field of the named column; "" when the file has no such column.
    QString Get(const CsvText::Record &record, const char *name) const;
    // A number field: in a file not separated by commas a decimal comma ("146,520000", as
    // spreadsheets of many locales write) reads as a decimal point.
    QString Number(const CsvText::Record &record, const char *name) const;

private:
    QHash<QString, int> m_Index;
    bool m_bDecimalComma = false;
};
