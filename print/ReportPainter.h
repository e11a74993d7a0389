#pragma once

#include "print/PrintReport.h"

#include <QFont>

class QPagedPaintDevice;
class QPainter;

// Draws the report's pages with QPainter in twips, one piece for printer, preview and PDF.
class CReportPainter {
public:
    // "Times New Roman", normal weight, the given character height and average width in twips.
    static QFont MakeFont(CPrintReport::FontSize size);

    // Draws one page; the painter's origin is the top left of the printable area, which measures
    // pixels (width × height) at dpiX × dpiY pixels per inch.
    static void PaintPage(
        QPainter& painter, const CPrintReport& report, int page, QSize pixels, int dpiX, int dpiY);

    // Draws pages first..last (1-based, clipped to the report) on the device that painter is active on,
    // starting a new sheet between pages. False when the device refuses a new sheet.
    static bool PaintPages(
        QPainter& painter, QPagedPaintDevice& device, const CPrintReport& report, int first, int last);
};
