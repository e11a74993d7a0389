#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "csv/CsvText.h"
#include "link/ProgramLog.h"

#include <QDate>

#include <algorithm>

namespace {

// A date ("2026-12-08") or a date and time ("2026-12-08T14:30", "2026-12-08 14:30:05"), taken as UTC
// like the times the log shows, unless it names its own offset. Invalid when it is neither.
QDateTime SinceTime(const QString& text)
{
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (date.isValid())
        return QDateTime(date, QTime(0, 0), Qt::UTC);
    QString iso = text;
    iso.replace(QLatin1Char(' '), QLatin1Char('T'));
    QDateTime time = QDateTime::fromString(iso, Qt::ISODate);
    if (time.isValid() && time.timeSpec() == Qt::LocalTime)
        time = QDateTime(time.date(), time.time(), Qt::UTC);
    return time;
}

void PrintTable(QTextStream& out, const QList<QStringList>& rows)
{
    QList<int> widths;
    for (const QStringList& row : rows)
        for (int c = 0; c < row.size(); ++c) {
            if (widths.size() <= c)
                widths << 0;
            widths[c] = std::max(widths[c], int(row.at(c).size()));
        }
    for (const QStringList& row : rows) {
        QString line;
        for (int c = 0; c < row.size(); ++c)
            line += c + 1 < row.size() ? row.at(c).leftJustified(widths[c] + 2) : row.at(c);
        out << line.trimmed() << '\n';
    }
}

} // namespace

// program-cli log [--since DATE] [--port PORT] [--file TEXT] [--csv]: the programming log, newest
// last, as a table or as CSV. Lines of the log that cannot be read are said on stderr and skipped.
int RunLog(CCliContext& context, const QStringList& args)
{
    QDateTime since;
    QString port;
    QString file;
    bool csv = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--since") && hasValue) {
            since = SinceTime(args.at(++i));
            if (!since.isValid())
                return context.UsageError(QStringLiteral(
                    "--since takes a date or a date and time, e.g. 2026-12-08 or 2026-12-08T14:30"));
        } else if (arg == QLatin1String("--port") && hasValue) {
            port = args.at(++i);
        } else if (arg == QLatin1String("--file") && hasValue) {
            file = args.at(++i);
        } else if (arg == QLatin1String("--csv")) {
            csv = true;
        } else {
            return context.UsageError(QStringLiteral("unexpected argument \"%1\"").arg(arg));
        }
    }

    const CProgramLog::Contents contents = CProgramLog().Read(context.IsChinese());
    for (const QString& note : contents.notes)
        context.Err() << note << '\n';
    context.Err().flush();

    QList<QStringList> rows { CLogRecord::Columns() };
    for (const CLogRecord& record : contents.records) {
        if (since.isValid() && record.time < since)
            continue;
        if (!port.isEmpty() && record.port.compare(port, Qt::CaseInsensitive) != 0)
            continue;
        if (!file.isEmpty() && !record.file.contains(file, Qt::CaseInsensitive))
            continue;
        rows << record.Fields();
    }
    QTextStream& out = context.Out();
    if (csv) {
        for (const QStringList& row : rows)
            out << QString::fromUtf8(CsvText::Line(row));
    } else {
        PrintTable(out, rows);
    }
    out.flush();
    return CCliContext::kDone;
}
