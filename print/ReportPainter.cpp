#include "print/ReportPainter.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

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
    // Row units come from the face that actually stands in for Times New Roman on this machine.
    const CPrintReport::Sizing sizing = CPrintReport::Fit(CPrintReport::ToTwips(pixels.width(), dpiX),
        CPrintReport::ToTwips(pixels.height(), dpiY), [](CPrintReport::FontSize size) {
            const QFontMetrics metrics(MakeFont(size));
            return CPrintReport::Measured { metrics.height(), metrics.leading() };
        });
    const QFont title = MakeFont(sizing.title);
    const QFont body = MakeFont(sizing.body);
    const CPrintReport::Page layout = report.Layout(page, sizing.metrics);

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
