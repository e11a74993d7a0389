#pragma once

#include <QString>

class CPrintReport;

// Writes the report as a PDF file: A4, the same pages the printer gets.
class CReportPdf {
public:
    // True when the whole file is written; otherwise an existing file of that name is left as it
    // was and error says why (in the report's language).
    static bool Write(const QString& path, const CPrintReport& report, QString* error);
};
