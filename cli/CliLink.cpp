#include "cli/CliLink.h"

#include "config/Console.h"
#include "config/Language.h"
#include "cli/CliContext.h"
#include "link/CloneTransfer.h"
#include "link/PortName.h"
#include "link/ServiceExchange.h"

#include <cstring>
#include <cstdio>

namespace {

constexpr CBilingual kReading { "Reading", "读数据" };
constexpr CBilingual kWriting { "Writing", "写数据" };
constexpr CBilingual kStopped { "Stopped.", "已停止。" };
constexpr CBilingual kStoppedBy { "%1 asked the program to end; the transfer stopped between blocks.",
    "收到 %1, 程序被要求结束, 传输已在数据块之间停止。" };
constexpr int kBarWidth = 32;

QString ProgressLine(const QString &label, int done, int total)
{
    const int filled = total > 0 ? done * kBarWidth / total : kBarWidth;
    const int percent = total > 0 ? done * 100 / total : 100;
    return QStringLiteral("\r%1 [%2%3] %4/%5 %6%")
        .arg(label, QString(filled, QLatin1Char('#')), QString(kBarWidth - filled, QLatin1Char('.')))
        .arg(done, 2)
        .arg(total)
        .arg(percent, 3);
}

} // namespace

namespace CliLink {

int CheckPorts(CCliContext &context, const QStringList &args)
{
    for (qsizetype i = 0; i + 1 < args.size(); ++i) {
        if (args.at(i) != QLatin1String("--port") || CPortName::IsOffered(args.at(i + 1), context.Ini()))
            continue;
        return context.UsageError(QStringLiteral("--port %1: a port is COM1..COM%2 or a device path such as "
                                                 "/dev/ttyUSB0; program-cli ports lists this computer's")
                                      .arg(args.at(i + 1))
                                      .arg(CPortName::kHighestPort));
    }
    return -1;
}

QString DeviceFor(const CCliContext &context, const QString &port)
{
    return CPortName::DevicePath(port, context.Ini());
}

bool TalksToRadio(const QString &command)
{
    return command == QLatin1String("read") || command == QLatin1String("write") || command == QLatin1String("service");
}

bool StopRequested()
{
    return CStopRequest::Pending();
}

void NoteStopSignal(CCliContext &context)
{
    const char *signal = CStopRequest::SignalName();
    // Ctrl+C came from the user at this terminal, who knows why it stopped.
    if (std::strcmp(signal, "SIGTERM") == 0 || std::strcmp(signal, "SIGHUP") == 0)
        context.Err() << kStoppedBy.Text(context.IsChinese()).arg(QLatin1String(signal)) << Qt::endl;
}

bool Run(CCliContext &context, CCloneTransfer &transfer, const QString &device)
{
    const bool zh = context.IsChinese();
    const bool showBar = Console::ErrorIsTerminal();
    const QString label
        = (transfer.TransferDirection() == CCloneTransfer::Direction::Read ? kReading : kWriting).Text(zh);
    QTextStream &err = context.Err();
    bool barShown = false;
    const CCloneTransfer::Status status = StopRequested() ? transfer.Stop() : transfer.Run(device, [&](int done, int total) {
        if (showBar)
            err << ProgressLine(label, done, total) << Qt::flush;
        barShown = showBar;
        return !StopRequested();
    });
    if (barShown)
        err << '\n';

    if (status == CCloneTransfer::Status::Done)
        return true;
    if (status == CCloneTransfer::Status::Stopped) {
        err << kStopped.Text(zh) << '\n';
        NoteStopSignal(context);
    }
    for (const QString &line : transfer.OutcomeLines(zh))
        err << line << '\n';
    err.flush();
    return false;
}

bool Run(CCliContext &context, CServiceExchange &exchange, const QString &device)
{
    const bool zh = context.IsChinese();
    if (StopRequested())
        exchange.Stop();
    else
        exchange.Run(device, [](int, int) { return !StopRequested(); });
    if (exchange.Succeeded()) {
        context.Out() << exchange.Message(zh) << Qt::endl;
        return true;
    }
    QTextStream &err = context.Err();
    err << exchange.Message(zh) << '\n';
    if (exchange.CurrentStatus() == CServiceExchange::Status::Stopped)
        NoteStopSignal(context);
    const QString reason = exchange.PortFailureReason(zh);
    if (!reason.isEmpty())
        err << reason << '\n';
    err.flush();
    return false;
}

} // namespace CliLink
