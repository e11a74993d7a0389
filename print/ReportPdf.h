#pragma once

#include <QPageLayout>
#include <QString>

class CPrintReport;

// Writes the report as a PDF file, the same pages the printer gets.
class CReportPdf {
public:
    // A4 with half-inch margins, what most printers can reach.
    static QPageLayout DefaultLayout();

    // True when the whole file is written; otherwise an existing file of that name is left as it
    // was and error says why (in the report's language).
    static bool Write(const QString& path, const CPrintReport& report, QString* error,
        const QPageLayout& layout = DefaultLayout());
};
