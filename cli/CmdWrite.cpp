#include "config/Language.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/CliTexts.h"
#include "cli/CliLink.h"
#include "image/DataFile.h"
#include "link/CloneTransfer.h"
#include "link/TransferNotes.h"
#include "link/WriteVerify.h"
#include "cli/CliBatch.h"
#include "cli/CliLog.h"
#include "cli/CliWriteChecks.h"
#include "link/LogRecord.h"
#include "radio/ServiceAccess.h"
#include "config/FileName.h"

using CliTexts::kWrongCode;

namespace {

constexpr CBilingual kWriteSummary { "Wrote %1 bytes from %2 to %3", "已把 %2 的 %1 字节写入 %3" };
constexpr CBilingual kWriteVerifiedSummary { "Wrote %1 bytes from %2 to %3 and verified them",
    "已把 %2 的 %1 字节写入 %3 并校验无误" };

QString writeSummary(const CCliContext &context, const CBilingual &text, int bytes, const QString &path,
    const QString &port, const QString &device)
{
    return text.Text(context.IsChinese()).arg(bytes).arg(FileName::Display(path), TransferNotes::PortLabel(port, device));
}

// Reads back the blocks just written and compares them with what was sent.
int Verify(CCliContext &context, const CCloneTransfer &written, const QString &path, const QString &port,
    const QString &device, CLogRecord &record)
{
    const std::unique_ptr<CCloneTransfer> readBack = CWriteVerify::ReadBack(written);
    const bool done = CliLink::Run(context, *readBack, device);
    const auto mismatch = done ? CWriteVerify::FirstDifference(written, readBack->Image()) : std::nullopt;
    record.SetVerify(readBack->CurrentStatus(), mismatch);
    CliLog::Record(context, record);
    const bool zh = context.IsChinese();
    if (!done) {
        context.Err() << CWriteVerify::NotVerifiedText(
            CWriteVerify::ByteCount(written), TransferNotes::PortLabel(port, device), zh)
                      << Qt::endl;
        return CCliContext::kFailed;
    }
    if (mismatch)
        return context.Fail(
            CWriteVerify::FailedReport(*mismatch, TransferNotes::PortLabel(port, device), zh));
    context.Summary(writeSummary(context, kWriteVerifiedSummary, CWriteVerify::ByteCount(written), path, port, device));
    return CCliContext::kDone;
}

} // namespace

// program-cli write --port PORT FILE [--access-code CODE [--with-alignment]] [--allow-out-of-band]
// [--verify]: sends a data file to the radio by the write plan; the service access code with
// --with-alignment widens it to the power and alignment tables.
int RunWrite(CCliContext &context, const QStringList &args)
{
    if (CliBatch::Wants(args))
        return CliBatch::RunWrite(context, args);
    QStringList rest = args;
    CCliWriteChecks checks;
    checks.Take(rest);
    QString port;
    QString path;
    QString accessCode;
    bool hasAccessCode = false;
    bool verify = false;
    for (int i = 0; i < rest.size(); ++i) {
        const QString &arg = rest.at(i);
        if (arg == QLatin1String("--port") && i + 1 < rest.size()) {
            port = rest.at(++i);
        } else if (arg == QLatin1String("--access-code") && i + 1 < rest.size()) {
            accessCode = rest.at(++i);
            hasAccessCode = true;
        } else if (arg == QLatin1String("--verify")) {
            verify = true;
        } else if (path.isEmpty() && !arg.startsWith(QLatin1Char('-'))) {
            path = arg;
        } else {
            return context.UsageError(QStringLiteral("unexpected argument \"%1\"").arg(arg));
        }
    }
    if (port.isEmpty() || path.isEmpty())
        return context.UsageError(QStringLiteral("write needs --port PORT and a FILE"));
    if (const QString error = checks.UsageError(hasAccessCode); !error.isEmpty())
        return context.UsageError(error);

    // The code unlocks this one write; the command line keeps no state between runs.
    if (hasAccessCode && !CServiceAccess::Accepts(accessCode))
        return context.Fail(kWrongCode.Text(context.IsChinese()));

    CRadioImage image;
    const DataFile::Result loaded = DataFile::Load(path, image);
    if (!loaded.ok())
        return context.Fail(DataFile::Describe(loaded, path));

    if (checks.Check(context, image, hasAccessCode) != CCliContext::kDone)
        return CCliContext::kFailed;

    // From before the port opens until the log record is written.
    const CliLink::CStopGuard stop;
    const QString device = CliLink::DeviceFor(context, port);
    const std::unique_ptr<CCloneTransfer> transfer = CCloneTransfer::ChannelWrite(image, checks.WithTables(hasAccessCode));
    transfer->SetPortName(port);
    const bool done = CliLink::Run(context, *transfer, device);
    CLogRecord record = CLogRecord::Of(*transfer, port, device, path, context.Ini());
    if (done && verify)
        return Verify(context, *transfer, path, port, device, record);
    CliLog::Record(context, record);
    if (!done)
        return CCliContext::kFailed;
    context.Summary(writeSummary(context, kWriteSummary, transfer->ByteCount(), path, port, device));
    return CCliContext::kDone;
}
