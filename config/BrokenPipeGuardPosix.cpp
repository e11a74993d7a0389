#include "config/BrokenPipeGuard.h"

#include <QMutex>

#include <csignal>

namespace {

QMutex g_BrokenPipeMutex;
int g_BrokenPipeDepth = 0;
struct sigaction g_BrokenPipePrevious { };

} // namespace

CBrokenPipeGuard::CBrokenPipeGuard()
{
    const QMutexLocker lock(&g_BrokenPipeMutex);
    if (g_BrokenPipeDepth++ > 0)
        return;
    struct sigaction ignore { };
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGPIPE, &ignore, &g_BrokenPipePrevious);
}

CBrokenPipeGuard::~CBrokenPipeGuard()
{
    const QMutexLocker lock(&g_BrokenPipeMutex);
    if (--g_BrokenPipeDepth > 0)
        return;
    ::sigaction(SIGPIPE, &g_BrokenPipePrevious, nullptr);
}
