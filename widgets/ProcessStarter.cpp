#include "widgets/ProcessStarter.h"

#include <QProcess>

CProcessStarter::Hook CProcessStarter::s_Hook;

bool CProcessStarter::StartDetached(const QString& program, const QStringList& arguments)
{
    if (s_Hook)
        return s_Hook(program, arguments);
    return QProcess::startDetached(program, arguments);
}

void CProcessStarter::SetHook(Hook hook)
{
    s_Hook = std::move(hook);
}
