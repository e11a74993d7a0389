#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/CliTexts.h"
#include "config/FileLock.h"
#include "cli/CliLink.h"
#include "cli/CliService.h"
#include "cli/CliLog.h"
#include "link/LogRecord.h"
#include "config/Language.h"
#include "image/DataFile.h"
#include "link/ServiceExchange.h"
#include "link/TransferNotes.h"
#include "link/WriteVerify.h"
#include "service/ParamTable.h"
#include "radio/ServiceAccess.h"

#include <utility>

using CliTexts::kWrongCode;

namespace {

constexpr CBilingual kSentCorrected { "%1 was %2, out of range: sent as %3", "%1 为 %2, 超出范围: 按 %3 发送" };

int Verify(CCliContext& context, const CServiceExchange& written, const QString& port, const QString& device,
    CLogRecord& record)
{
    CServiceExchange readBack(CServiceExchange::Direction::Read, written.ExchangeArea(), written.Image());
    readBack.SetPortName(port);
    const bool done = CliLink::Run(context, readBack, device);
    const CCloneSegment range = CServiceExchange::Range(written.ExchangeArea());
    std::optional<CWriteVerify::Mismatch> mismatch;
    for (int address = range.start; done && !mismatch && address < range.end; ++address)
        if (written.Image().Byte(address) != readBack.Image().Byte(address))
            mismatch = CWriteVerify::Mismatch { address, written.Image().Byte(address), readBack.Image().Byte(address) };
    record.SetVerify(readBack.CurrentStatus(), mismatch);
    CliLog::Record(context, record);
    if (!done)
        return CCliContext::kFailed;
    const bool zh = context.IsChinese();
    if (mismatch)
        return context.Fail(
            CWriteVerify::FailedReport(*mismatch, TransferNotes::PortLabel(port, device), zh));
    context.Out() << CWriteVerify::VerifiedText(range.end - range.start, zh) << Qt::endl;
    return CCliContext::kDone;
}

} // namespace

// program-cli service read|write --port PORT --access-code CODE --area power|param FILE [--verify]:
// moves one alignment area between FILE and the radio. A read changes FILE only when every block came
// in; a write of the parameters sends them as the dialog would, through the sanitiser.
int RunService(CCliContext& context, const QStringList& args)
{
    const QString action = args.value(0);
    const bool read = action == QLatin1String("read");
    if (!read && action != QLatin1String("write"))
        return context.UsageError(QStringLiteral("service needs read or write"));
    QString port, path, accessCode, area;
    bool verify = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--port") && hasValue)
            port = args.at(++i);
        else if (arg == QLatin1String("--access-code") && hasValue)
            accessCode = args.at(++i);
        else if (arg == QLatin1String("--area") && hasValue)
            area = args.at(++i);
        else if (arg == QLatin1String("--verify") && !read)
            verify = true;
        else if (path.isEmpty() && !arg.startsWith(QLatin1Char('-')))
            path = arg;
        else
            return context.UsageError(QStringLiteral("unexpected argument \"%1\"").arg(arg));
    }
    if (port.isEmpty() || path.isEmpty()
        || (area != QLatin1String("power") && area != QLatin1String("param")))
        return context.UsageError(
            QStringLiteral("service %1 needs --port PORT, --access-code CODE, --area power|param and a FILE")
                .arg(action));
    if (!CServiceAccess::Accepts(accessCode))
        return context.Fail(kWrongCode.Text(context.IsChinese()));
    const CServiceExchange::Area which
        = area == QLatin1String("power") ? CServiceExchange::Area::Power : CServiceExchange::Area::Param;

    CRadioImage image;
    const DataFile::Result loaded = DataFile::Load(path, image);
    if (!loaded.ok())
        return context.Fail(DataFile::Describe(loaded, path));
    const QString device = CliLink::DeviceFor(context, port);
    // From before the port opens until the log record and the file are written.
    const CliLink::CStopGuard stop;

    if (read) {
        CServiceExchange exchange(CServiceExchange::Direction::Read, which, image);
        exchange.SetPortName(port);
        const bool done = CliLink::Run(context, exchange, device);
        CLogRecord record = CLogRecord::Of(exchange, port, device, path, context.Ini());
        if (!done) {
            CliLog::Record(context, record);
            return CCliContext::kFailed;
        }
        // The radio's area goes into the file as it is now: held from reading it again to replacing
        // it, so a change made to the file while the radio was being read is kept. The record comes
        // after, with how that went.
        CFileLock lock(path);
        // What went wrong for the user, and the same in English for the log; empty when saved.
        const auto save = [&]() -> std::pair<QString, QString> {
            if (!lock.Lock())
                return { lock.Error(), lock.Error() };
            const DataFile::Result reloaded = DataFile::Load(path, image);
            if (!reloaded.ok())
                return { DataFile::Describe(reloaded, path), DataFile::Describe(reloaded, path, false) };
            exchange.TakeOver(image);
            const DataFile::Result saved = DataFile::Save(path, image);
            if (!saved.ok())
                return { DataFile::Describe(saved, path), DataFile::Describe(saved, path, false) };
            return {};
        };
        if (const auto [failure, logged] = save(); !failure.isEmpty()) {
            const int code = context.Fail(failure);
            record.SetSaveFailure(logged);
            CliLog::Record(context, record);
            return code;
        }
        CliLog::Record(context, record);
        return CCliContext::kDone;
    }

    if (which == CServiceExchange::Area::Param) {
        const std::optional<CServiceBand> band = CliService::BandOf(context, image);
        if (!band)
            return CCliContext::kFailed;
        for (const ParamTable::Correction& c : ParamTable::Sanitise(image, *band))
            context.Err() << kSentCorrected.Text(context.IsChinese()).arg(c.name).arg(c.was).arg(c.now) << '\n';
        context.Err().flush();
    }
    CServiceExchange exchange(CServiceExchange::Direction::Write, which, image);
    exchange.SetPortName(port);
    const bool done = CliLink::Run(context, exchange, device);
    CLogRecord record = CLogRecord::Of(exchange, port, device, path, context.Ini());
    if (done && verify)
        return Verify(context, exchange, port, device, record);
    CliLog::Record(context, record);
    return done ? CCliContext::kDone : CCliContext::kFailed;
}
