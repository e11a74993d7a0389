#include "cli/CliBatch.h"

#include "cli/CliContext.h"
#include "cli/CliTexts.h"
#include "cli/CliLink.h"
#include "cli/CliLog.h"
#include "cli/CliWriteChecks.h"
#include "link/LogRecord.h"
#include "config/AppPaths.h"
#include "config/FileLock.h"
#include "config/Language.h"
#include "image/DataFile.h"
#include "link/BatchTransfer.h"
#include "link/RepeatWriter.h"
#include "radio/ServiceAccess.h"

#include <QFileInfo>
#include <QSet>

using CliTexts::kWrongCode;

namespace {

constexpr CBilingual kRadioNumber { "#%1 %2", "#%1 %2" };
constexpr CBilingual kSaveFailed { "%1: %2", "%1: %2" };

struct Arguments {
    QStringList ports;
    QString file; // write: the data file; read: the output pattern
    QString accessCode;
    bool hasAccessCode = false;
    bool verify = false;
    bool repeat = false;
    int count = 0; // --count: stop the repeat loop after this many radios
    QString error;
};

Arguments Parse(const QStringList &args, bool write)
{
    Arguments a;
    for (int i = 0; i < args.size() && a.error.isEmpty(); ++i) {
        const QString &arg = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--port") && hasValue) {
            a.ports << args.at(++i);
        } else if (!write && (arg == QLatin1String("-o") || arg == QLatin1String("--output")) && hasValue) {
            a.file = args.at(++i);
        } else if (write && arg == QLatin1String("--access-code") && hasValue) {
            a.accessCode = args.at(++i);
            a.hasAccessCode = true;
        } else if (write && arg == QLatin1String("--verify")) {
            a.verify = true;
        } else if (write && arg == QLatin1String("--repeat")) {
            a.repeat = true;
        } else if (write && arg == QLatin1String("--count") && hasValue) {
            bool ok = false;
            a.count = args.at(++i).toInt(&ok);
            if (!ok || a.count < 1)
                a.error = QStringLiteral("--count takes a number of radios from 1");
        } else if (write && a.file.isEmpty() && !arg.startsWith(QLatin1Char('-'))) {
            a.file = arg;
        } else {
            a.error = QStringLiteral("unexpected argument \"%1\"").arg(arg);
        }
    }
    if (!a.error.isEmpty())
        return a;
    if (a.ports.isEmpty() || a.file.isEmpty())
        a.error = write ? QStringLiteral("write needs --port PORT and a FILE")
                        : QStringLiteral("read needs --port PORT and -o FILE");
    else if (a.ports.removeDuplicates() > 0)
        a.error = QStringLiteral("a port is named twice");
    else if (a.repeat && a.ports.size() > 1)
        a.error = QStringLiteral("--repeat works on one --port");
    else if (a.count > 0 && !a.repeat)
        a.error = QStringLiteral("--count goes with --repeat");
    return a;
}

QStringList Devices(const CCliContext &context, const QStringList &ports)
{
    QStringList devices;
    for (const QString &port : ports)
        devices << CliLink::DeviceFor(context, port);
    return devices;
}

// unsaved: radios read well whose file could not be written; they count as failed.
int Finish(CCliContext &context, const std::vector<CBatchOutcome> &outcomes, const std::vector<bool> &unsaved = {})
{
    int succeeded = 0;
    for (std::size_t i = 0; i < outcomes.size(); ++i)
        succeeded += outcomes[i].Succeeded() && !(i < unsaved.size() && unsaved[i]) ? 1 : 0;
    const int total = static_cast<int>(outcomes.size());
    context.Out() << CBatchTransfer::Summary(total, succeeded, context.IsChinese()) << Qt::endl;
    return succeeded == total ? CCliContext::kDone : CCliContext::kFailed;
}

int Repeat(CCliContext &context, const Arguments &a, const CBatchTransfer::Factory &make)
{
    const bool zh = context.IsChinese();
    const CliLink::CStopGuard stop;
    CRepeatWriter writer(make, a.verify);
    writer.WatchStop(&CliLink::StopRequested);
    const QString device = CliLink::DeviceFor(context, a.ports.first());
    const CRepeatWriter::Totals totals = writer.Run(a.ports.first(), device, a.count,
        [&](const CBatchOutcome &outcome, int count) {
            CliLog::Record(context, CLogRecord::Of(outcome, CCloneTransfer::Direction::Write, device, a.file, context.Ini()));
            context.Out() << kRadioNumber.Text(zh).arg(count).arg(CBatchTransfer::Line(outcome, zh)) << Qt::endl;
            // The bell calls the dealer back to the bench.
            context.Err() << '\a' << Qt::flush;
        },
        [&](CRepeatWriter::Waiting waiting) {
            context.Err() << CRepeatWriter::WaitingText(waiting, zh) << Qt::endl;
        });
    if (CliLink::StopRequested())
        CliLink::NoteStopSignal(context);
    // A port lost on the way is no radio: it ends the loop, said on a line of its own.
    if (const QString ending = CRepeatWriter::EndingText(totals, zh); !ending.isEmpty())
        context.Out() << ending << Qt::endl;
    context.Out() << CRepeatWriter::TotalsText(totals, zh) << Qt::endl;
    const bool ended = totals.ending == CRepeatWriter::Ending::Stopped;
    return ended && totals.failed == 0 && totals.written > 0 ? CCliContext::kDone : CCliContext::kFailed;
}

// A file name part for a port: "COM3" as it is, "/dev/ttyUSB0" as "ttyUSB0".
QString PortPart(const QString &port)
{
    QString name = QFileInfo(port).fileName();
    for (QChar &c : name) {
        if (!c.isLetterOrNumber() && c != QLatin1Char('-') && c != QLatin1Char('_') && c != QLatin1Char('.'))
            c = QLatin1Char('_');
    }
    return name.isEmpty() ? QStringLiteral("port") : name;
}

} // namespace

namespace CliBatch {

bool Wants(const QStringList &args)
{
    return args.count(QStringLiteral("--port")) > 1 || args.contains(QStringLiteral("--repeat"));
}

QString OutputPath(const QString &pattern, const QString &port, int n)
{
    QString path = pattern;
    path.replace(QLatin1String("{port}"), PortPart(port));
    path.replace(QLatin1String("{n}"), QString::number(n));
    return path;
}

int RunWrite(CCliContext &context, const QStringList &args)
{
    QStringList rest = args;
    CCliWriteChecks checks;
    checks.Take(rest);
    const Arguments a = Parse(rest, true);
    if (!a.error.isEmpty())
        return context.UsageError(a.error);
    if (const QString error = checks.UsageError(a.hasAccessCode); !error.isEmpty())
        return context.UsageError(error);
    const bool zh = context.IsChinese();
    if (a.hasAccessCode && !CServiceAccess::Accepts(a.accessCode))
        return context.Fail(kWrongCode.Text(zh));
    CRadioImage image;
    const DataFile::Result loaded = DataFile::Load(a.file, image);
    if (!loaded.ok())
        return context.Fail(DataFile::Describe(loaded, a.file));
    if (checks.Check(context, image, a.hasAccessCode) != CCliContext::kDone)
        return CCliContext::kFailed;

    const bool service = checks.WithTables(a.hasAccessCode);
    const CBatchTransfer::Factory make = [image, service] { return CCloneTransfer::ChannelWrite(image, service); };
    if (a.repeat)
        return Repeat(context, a, make);

    const CliLink::CStopGuard stop;
    CBatchTransfer batch(make, a.verify);
    batch.WatchStop(&CliLink::StopRequested);
    const QStringList devices = Devices(context, a.ports);
    const std::vector<CBatchOutcome> outcomes = batch.Run(a.ports, devices, [&](const CBatchOutcome &outcome) {
        CliLog::Record(context,
            CLogRecord::Of(outcome, CCloneTransfer::Direction::Write, devices.value(outcome.index), a.file, context.Ini()));
        context.Out() << CBatchTransfer::Line(outcome, zh) << Qt::endl;
    });
    if (CliLink::StopRequested())
        CliLink::NoteStopSignal(context);
    return Finish(context, outcomes);
}

int RunRead(CCliContext &context, const QStringList &args)
{
    const Arguments a = Parse(args, false);
    if (!a.error.isEmpty())
        return context.UsageError(a.error);
    if (!a.file.contains(QLatin1String("{port}")) && !a.file.contains(QLatin1String("{n}")))
        return context.UsageError(QStringLiteral("with several ports, -o needs {port} or {n} in the file name"));
    QSet<QString> paths;
    for (int i = 0; i < a.ports.size(); ++i)
        paths.insert(OutputPath(a.file, a.ports.at(i), i + 1));
    if (paths.size() != a.ports.size())
        return context.UsageError(QStringLiteral("two ports would write the same file; use {n}"));
    for (const QString &path : paths)
        if (context.OutputIsLog(path))
            return CCliContext::kFailed;

    const bool zh = context.IsChinese();
    const CRadioImage start = DataFile::NewImage(CAppPaths::ExecutableDir());
    const CliLink::CStopGuard stop;
    CBatchTransfer batch([start] { return CCloneTransfer::ChannelRead(start); }, false);
    batch.WatchStop(&CliLink::StopRequested);
    std::vector<bool> unsaved(static_cast<std::size_t>(a.ports.size()), false);
    const QStringList devices = Devices(context, a.ports);
    const std::vector<CBatchOutcome> outcomes = batch.Run(a.ports, devices,
        [&](const CBatchOutcome &outcome) {
            const QString path = OutputPath(a.file, outcome.port, outcome.index + 1);
            // Recorded once the file is saved, with how that went.
            CLogRecord record
                = CLogRecord::Of(outcome, CCloneTransfer::Direction::Read, devices.value(outcome.index), path, context.Ini());
            if (outcome.Succeeded()) {
                CFileLock lock(path);
                const DataFile::Result saved = lock.Lock() ? DataFile::Save(path, outcome.image)
                                                           : DataFile::Result { DataFile::Status::WriteFailed, lock.Error() };
                if (!saved.ok()) {
                    unsaved[static_cast<std::size_t>(outcome.index)] = true;
                    context.Out() << kSaveFailed.Text(zh).arg(outcome.port, DataFile::Describe(saved, path, zh))
                                  << Qt::endl;
                    record.SetSaveFailure(DataFile::Describe(saved, path, false));
                    CliLog::Record(context, record);
                    return;
                }
            }
            CliLog::Record(context, record);
            context.Out() << CBatchTransfer::Line(outcome, zh) << Qt::endl;
        });
    if (CliLink::StopRequested())
        CliLink::NoteStopSignal(context);
    return Finish(context, outcomes, unsaved);
}

} // namespace CliBatch
