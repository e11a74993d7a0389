#include "config/StopRequest.h"

#include <QMutex>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace {

constexpr int kStopSignals[] = { SIGINT, SIGTERM, SIGHUP };

std::atomic<int> g_StopSignal { 0 };
int g_StopPipe[2] = { -1, -1 };

QMutex g_StopGuardMutex;
int g_StopGuardDepth = 0;
struct sigaction g_StopPrevious[std::size(kStopSignals)];

extern "C" void OnStopSignal(int signal)
{
    const int savedErrno = errno;
    g_StopSignal.store(signal);
    if (g_StopPipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(g_StopPipe[1], &byte, 1);
    }
    errno = savedErrno;
}

void OpenStopPipe()
{
    if (g_StopPipe[0] >= 0)
        return;
    int fds[2];
    if (::pipe(fds) != 0)
        return;
    for (const int fd : fds) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    g_StopPipe[0] = fds[0];
    g_StopPipe[1] = fds[1];
}

} // namespace

CStopRequest::CStopRequest()
{
    const QMutexLocker lock(&g_StopGuardMutex);
    g_StopSignal.store(0);
    if (g_StopGuardDepth++ > 0)
        return;
    OpenStopPipe();
    DrainNotify();
    struct sigaction action { };
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
        ::sigaction(kStopSignals[i], &action, &g_StopPrevious[i]);
}

CStopRequest::~CStopRequest()
{
    const QMutexLocker lock(&g_StopGuardMutex);
    if (--g_StopGuardDepth > 0)
        return;
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i)
        ::sigaction(kStopSignals[i], &g_StopPrevious[i], nullptr);
}

bool CStopRequest::Pending()
{
    return g_StopSignal.load() != 0;
}

const char *CStopRequest::SignalName()
{
    switch (g_StopSignal.load()) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    default:
        return "";
    }
}

int CStopRequest::NotifyDescriptor()
{
    return g_StopPipe[0];
}

void CStopRequest::DrainNotify()
{
    if (g_StopPipe[0] < 0)
        return;
    char buffer[64];
    while (::read(g_StopPipe[0], buffer, sizeof buffer) > 0) {
    }
}
