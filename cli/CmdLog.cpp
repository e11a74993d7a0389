#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "link/ProgramLog.h"

#include <QDate>
#include <QRegularExpression>

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

// The first moment after the date or time text names, so that --until takes in all of it: a date
// reaches to its midnight, "14:30" to 14:31, "14:30:05" to 14:30:06. Invalid when it is neither.
QDateTime UntilEnd(const QString& text)
{
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (date.isValid())
        return QDateTime(date.addDays(1), QTime(0, 0), Qt::UTC);
    const QDateTime time = SinceTime(text);
    static const QRegularExpression withSeconds(QStringLiteral("[T ]\\d{2}:\\d{2}:\\d{2}"));
    // "14:30:58.5" names that instant: the whole second after it would take in 14:30:59.
    static const QRegularExpression withFraction(QStringLiteral("[T ]\\d{2}:\\d{2}:\\d{2}[.,]\\d"));
    if (time.isValid() && text.contains(withFraction))
        return time.addMSecs(1);
    return time.isValid() ? time.addSecs(text.contains(withSeconds) ? 1 : 60) : time;
}

// Whether record is one the options ask for.
struct LogFilter {
    QDateTime since;
    QDateTime until; // the first moment no longer asked for
    QString port;
    QString file;
    bool Matches(const CLogRecord& record) const
    {
        return (!since.isValid() || record.time >= since) && (!until.isValid() || record.time < until)
            && (port.isEmpty() || record.port.compare(port, Qt::CaseInsensitive) == 0)
            && (file.isEmpty() || record.file.contains(file, Qt::CaseInsensitive));
    }
};

void PrintRow(QTextStream& out, const QStringList& row, const QList<int>& widths)
{
    QString line;
    for (int c = 0; c < row.size(); ++c)
        line += c + 1 < row.size() ? row.at(c).leftJustified(widths.value(c) + 2) : row.at(c);
    out << line.trimmed() << '\n';
}

} // namespace

// program-cli log [--since DATE] [--until DATE] [--port PORT] [--file TEXT] [--csv]: the programming log, newest
// last, as a table or as CSV. Lines of the log that cannot be read are said on stderr and skipped.
int RunLog(CCliContext& context, const QStringList& args)
{
    QDateTime since;
    QDateTime until;
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
        } else if (arg == QLatin1String("--until") && hasValue) {
            until = UntilEnd(args.at(++i));
            if (!until.isValid())
                return context.UsageError(QStringLiteral(
                    "--until takes a date or a date and time, e.g. 2026-12-08 or 2026-12-08T14:30"));
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

    if (since.isValid() && until.isValid() && until <= since)
        return context.UsageError(QStringLiteral("--until names a time before --since: no record could match"));

    // A record at a time, however big the log: the table is read twice, once for the width of each
    // column and once to print, and prints as many rows as the first reading counted.
    const CProgramLog log;
    const LogFilter filter { since, until, port, file };
    QTextStream& out = context.Out();
    const bool zh = context.IsChinese();
    const auto note = [&context](const QString& text) { context.Err() << text << '\n'; };
    if (csv) {
        out << QString::fromUtf8(CLogRecord::CsvHeader());
        log.ForEach(zh, [&](const CLogRecord& record) {
            if (filter.Matches(record))
                out << QString::fromUtf8(record.CsvRow());
        }, note);
        context.Err().flush();
        out.flush();
        return CCliContext::kDone;
    }
    const QStringList header = CLogRecord::Columns();
    QList<int> widths;
    for (const QString& name : header)
        widths << int(name.size());
    qint64 matching = 0;
    log.ForEach(zh, [&](const CLogRecord& record) {
        if (!filter.Matches(record))
            return;
        ++matching;
        const QStringList fields = record.ShownFields();
        for (int c = 0; c < fields.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], int(fields.at(c).size()));
    }, note);
    context.Err().flush();
    PrintRow(out, header, widths);
    if (matching == 0) {
        out.flush();
        return CCliContext::kDone;
    }
    log.ForEach(zh, [&](const CLogRecord& record) {
        if (matching > 0 && filter.Matches(record)) {
            --matching;
            PrintRow(out, record.ShownFields(), widths);
        }
    }, {});
    out.flush();
    return CCliContext::kDone;
}
