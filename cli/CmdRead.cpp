#include "config/AppPaths.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "cli/CliLink.h"
#include "cli/CliBatch.h"
#include "cli/CliLog.h"
#include "link/LogRecord.h"
#include "image/DataFile.h"
#include "config/FileLock.h"
#include "link/CloneTransfer.h"
#include "link/TransferNotes.h"
#include "config/FileName.h"
#include "config/Language.h"

namespace {
constexpr CBilingual kReadSummary { "Read %1 bytes from %2 into %3", "已从 %2 读取 %1 字节, 存入 %3" };
}

// program-cli read --port PORT -o FILE: reads the radio and saves a data file. FILE is written only
// when every block came in; the bytes the read plan leaves out are those of a new image.
int RunRead(CCliContext &context, const QStringList &args)
{
    if (CliBatch::Wants(args))
        return CliBatch::RunRead(context, args);
    QString port;
    QString path;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--port") && i + 1 < args.size())
            port = args.at(++i);
        else if ((arg == QLatin1String("-o") || arg == QLatin1String("--output")) && i + 1 < args.size())
            path = args.at(++i);
        else
            return context.UsageError(QStringLiteral("unexpected argument \"%1\"").arg(arg));
    }
    if (port.isEmpty() || path.isEmpty())
        return context.UsageError(QStringLiteral("read needs --port PORT and -o FILE"));
    if (context.OutputIsLog(path))
        return CCliContext::kFailed;

    // From before the port opens until the log record and the file are written.
    const CliLink::CStopGuard stop;
    const std::unique_ptr<CCloneTransfer> transfer
        = CCloneTransfer::ChannelRead(DataFile::NewImage(CAppPaths::ExecutableDir()));
    const QString device = CliLink::DeviceFor(context, port);
    transfer->SetPortName(port);
    const bool done = CliLink::Run(context, *transfer, device);
    CLogRecord record = CLogRecord::Of(*transfer, port, device, path, context.Ini());
    if (!done) {
        CliLog::Record(context, record);
        return CCliContext::kFailed;
    }

    // The record says what the user got: a read whose file was not saved is no finished read.
    CFileLock lock(path);
    QString failure, logged;
    if (!lock.Lock()) {
        failure = logged = lock.Error();
    } else if (const DataFile::Result saved = DataFile::Save(path, transfer->Image()); !saved.ok()) {
        failure = DataFile::Describe(saved, path);
        logged = DataFile::Describe(saved, path, false);
    }
    if (!failure.isEmpty()) {
        const int code = context.Fail(failure);
        record.SetSaveFailure(logged);
        CliLog::Record(context, record);
        return code;
    }
    CliLog::Record(context, record);
    context.Summary(kReadSummary.Text(context.IsChinese())
                        .arg(transfer->ByteCount())
                        .arg(TransferNotes::PortLabel(port, device), FileName::Display(path)));
    return CCliContext::kDone;
}
