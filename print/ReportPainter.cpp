#include "print/ReportPainter.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

namespace {

// The text height plus the external leading, as the report steps its rows.
int rowUnit(const QFont& font)
{
    const QFontMetrics metrics(font);
    return metrics.height() + std::max(0, metrics.leading());
}

} // namespace

QFont CReportPainter::MakeFont(CPrintReport::FontSize size)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(std::max(1, size.height));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    // Outlines, not screen pixels: the text scales with the page.
    font.setHintingPreference(QFont::PreferNoHinting);
    // No ligatures: "Off" must stay three letters for whoever copies or searches the PDF's text.
    font.setStyleStrategy(QFont::PreferNoShaping);
    // The report fixes the average character width too; where the face that stands in for Times New
    // Roman runs wider or narrower, stretch it so the columns still line up.
    const int natural = QFontMetrics(font).averageCharWidth();
    if (size.width > 0 && natural > 0)
        font.setStretch(std::clamp(size.width * 100 / natural, 1, 4000));
    return font;
}

void CReportPainter::PaintPage(
    QPainter& painter, const CPrintReport& report, int page, QSize pixels, int dpiX, int dpiY)
{
    if (dpiX <= 0 || dpiY <= 0)
        return;
    CPrintReport::Metrics metrics;
    metrics.pageWidth = CPrintReport::ToTwips(pixels.width(), dpiX);
    metrics.pageHeight = CPrintReport::ToTwips(pixels.height(), dpiY);
    const QFont title = MakeFont(CPrintReport::TitleFont(metrics.pageWidth, metrics.pageHeight));
    const QFont body = MakeFont(CPrintReport::BodyFont(metrics.pageWidth, metrics.pageHeight));
    metrics.titleRow = rowUnit(title);
    metrics.bodyRow = rowUnit(body);
    const CPrintReport::Page layout = report.Layout(page, metrics);

    painter.save();
    painter.scale(dpiX / 1440.0, dpiY / 1440.0);
    painter.setPen(QPen(Qt::black, 0)); // one device pixel, whatever the scale
    for (const CPrintReport::Line& line : layout.lines)
        painter.drawLine(line.x1, -line.y, line.x2, -line.y);
    // Report positions are the top left of the text; QPainter wants the baseline.
    const int titleAscent = QFontMetrics(title).ascent();
    const int bodyAscent = QFontMetrics(body).ascent();
    for (const CPrintReport::Text& text : layout.texts) {
        const bool isTitle = text.font == CPrintReport::Font::Title;
        painter.setFont(isTitle ? title : body);
        painter.drawText(QPoint(text.x, -text.y + (isTitle ? titleAscent : bodyAscent)), text.text);
    }
    painter.restore();
}

bool CReportPainter::PaintPages(
    QPainter& painter, QPagedPaintDevice& device, const CPrintReport& report, int first, int last)
{
    first = std::max(first, 1);
    last = std::min(last, report.PageCount());
    const QSize pixels(device.width(), device.height());
    for (int page = first; page <= last; ++page) {
        if (page > first && !device.newPage())
            return false;
        PaintPage(painter, report, page, pixels, device.logicalDpiX(), device.logicalDpiY());
    }
    return true;
}
