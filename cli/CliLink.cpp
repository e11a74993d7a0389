#include "cli/CliLink.h"

#include "config/Language.h"
#include "cli/CliContext.h"
#include "link/CloneTransfer.h"
#include "link/PortName.h"
#include "link/ServiceExchange.h"

#include <csignal>
#include <cstdio>

#if defined(Q_OS_WIN)
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace {

constexpr CBilingual kReading { "Reading", "读数据" };
constexpr CBilingual kWriting { "Writing", "写数据" };
constexpr CBilingual kStopped { "Stopped.", "已停止。" };
constexpr int kBarWidth = 32;

volatile std::sig_atomic_t g_StopRequested = 0;

extern "C" void RequestStop(int)
{
    g_StopRequested = 1;
}

// Takes Ctrl+C as a stop request for as long as it lives, so the port is closed between blocks.
class CInterruptGuard {
public:
    CInterruptGuard()
    {
        g_StopRequested = 0;
        m_Previous = std::signal(SIGINT, RequestStop);
    }
    ~CInterruptGuard() { std::signal(SIGINT, m_Previous == SIG_ERR ? SIG_DFL : m_Previous); }

private:
    void (*m_Previous)(int) = SIG_DFL;
};

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

QString DeviceFor(const CCliContext &context, const QString &port)
{
    return CPortName::DevicePath(port, context.Ini());
}

bool Run(CCliContext &context, CCloneTransfer &transfer, const QString &device)
{
    const bool zh = context.IsChinese();
    const bool showBar = isatty(fileno(stderr)) != 0;
    const QString label
        = (transfer.TransferDirection() == CCloneTransfer::Direction::Read ? kReading : kWriting).Text(zh);
    QTextStream &err = context.Err();
    const CInterruptGuard guard;
    const CCloneTransfer::Status status = transfer.Run(device, [&](int done, int total) {
        if (showBar)
            err << ProgressLine(label, done, total) << Qt::flush;
        return g_StopRequested == 0;
    });
    if (showBar && transfer.BlocksDone() > 0)
        err << '\n';

    if (status == CCloneTransfer::Status::Done)
        return true;
    if (status == CCloneTransfer::Status::Stopped)
        err << kStopped.Text(zh) << '\n';
    for (const QString &line : transfer.OutcomeLines(zh))
        err << line << '\n';
    err.flush();
    return false;
}

bool Run(CCliContext &context, CServiceExchange &exchange, const QString &device)
{
    const bool zh = context.IsChinese();
    const CInterruptGuard guard;
    exchange.Run(device, [](int, int) { return g_StopRequested == 0; });
    if (exchange.Succeeded()) {
        context.Out() << exchange.Message(zh) << Qt::endl;
        return true;
    }
    QTextStream &err = context.Err();
    err << exchange.Message(zh) << '\n';
    const QString reason = exchange.PortFailureReason(zh);
    if (!reason.isEmpty())
        err << reason << '\n';
    err.flush();
    return false;
}

} // namespace CliLink
