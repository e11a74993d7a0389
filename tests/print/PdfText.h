#pragma once

#include <QPair>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>

#include <algorithm>

// Reads a PDF back with poppler's tools, as any reader of the report would see it.
namespace PdfText {

inline bool Available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

inline QString Run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed>").arg(program);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of one page (1-based).
inline QString Page(const QString& pdf, int page)
{
    return Run(QStringLiteral("pdftotext"),
        { QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-f"), QString::number(page),
            QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-") });
}

// How far down the page (points from the top) the lowest word of a page ends, and the page's height.
inline QPair<double, double> Depth(const QString& pdf, int page)
{
    const QString html = Run(QStringLiteral("pdftotext"),
        { QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
            QString::number(page), pdf, QStringLiteral("-") });
    double lowest = 0;
    QRegularExpressionMatchIterator words
        = QRegularExpression(QStringLiteral("yMax=\"([\\d.]+)\"")).globalMatch(html);
    while (words.hasNext())
        lowest = std::max(lowest, words.next().captured(1).toDouble());
    const QRegularExpressionMatch height
        = QRegularExpression(QStringLiteral("<page width=\"[\\d.]+\" height=\"([\\d.]+)\"")).match(html);
    return { lowest, height.hasMatch() ? height.captured(1).toDouble() : -1 };
}

inline int PageCount(const QString& pdf)
{
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                              .match(Run(QStringLiteral("pdfinfo"), { pdf }));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace PdfText
