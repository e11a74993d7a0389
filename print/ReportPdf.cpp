#include "print/ReportPdf.h"

#include "config/Language.h"
#include "config/SafeFile.h"
#include "print/PrintReport.h"
#include "print/ReportPainter.h"

#include <QBuffer>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

constexpr CBilingual kCannotWrite { "Cannot write \"%1\": %2", "无法写入 \"%1\": %2" };
constexpr CBilingual kDrawFailed { "drawing the pages failed", "页面绘制失败" };

constexpr qreal kMarginMm = 12.7;

} // namespace

QPageLayout CReportPdf::DefaultLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

bool CReportPdf::Write(
    const QString& path, const CPrintReport& report, QString* error, const QPageLayout& layout)
{
    const bool zh = report.IsChinese();
    const auto fail = [&](const QString& why) {
        if (error)
            *error = kCannotWrite.Text(zh).arg(path, why);
        return false;
    };
    // Drawn in memory, then saved as every file is: complete, or the old file left as it was.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Program"));
        writer.setPageLayout(layout.isValid() ? layout : DefaultLayout());
        QPainter painter;
        if (!painter.begin(&writer))
            return fail(kDrawFailed.Text(zh));
        const bool painted = CReportPainter::PaintPages(painter, writer, report, 1, report.PageCount());
        if (!painter.end() || !painted)
            return fail(kDrawFailed.Text(zh));
    }
    const QString reason = SafeFile::Write(path, buffer.data());
    return reason.isEmpty() || fail(reason);
}
