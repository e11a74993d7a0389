#include "config/StopRequest.h"

#include <QMutex>

#include <atomic>

#include <windows.h>

namespace {

// 1: Ctrl+C, 2: Ctrl+Break, 3: the console closed, logoff or shutdown.
std::atomic<int> g_StopEvent { 0 };

QMutex g_StopGuardMutex;
int g_StopGuardDepth = 0;

BOOL WINAPI OnConsoleEvent(DWORD type)
{
    switch (type) {
    case CTRL_C_EVENT:
        g_StopEvent.store(1);
        return TRUE;
    case CTRL_BREAK_EVENT:
        g_StopEvent.store(2);
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        // Windows ends the process when this returns; give the transfer the time of a few blocks to
        // stop between them and write its record first.
        g_StopEvent.store(3);
        Sleep(3000);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

CStopRequest::CStopRequest()
{
    const QMutexLocker lock(&g_StopGuardMutex);
    g_StopEvent.store(0);
    if (g_StopGuardDepth++ == 0)
        SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

CStopRequest::~CStopRequest()
{
    const QMutexLocker lock(&g_StopGuardMutex);
    if (--g_StopGuardDepth == 0)
        SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
}

bool CStopRequest::Pending()
{
    return g_StopEvent.load() != 0;
}

const char *CStopRequest::SignalName()
{
    switch (g_StopEvent.load()) {
    case 1:
        return "Ctrl+C";
    case 2:
        return "Ctrl+Break";
    case 3:
        return "console closed";
    default:
        return "";
    }
}

int CStopRequest::NotifyDescriptor()
{
    return -1;
}

void CStopRequest::DrainNotify()
{
}
