#include "widgets/UrlOpener.h"

#include <QDesktopServices>

CUrlOpener::Hook CUrlOpener::s_Hook;

bool CUrlOpener::Open(const QUrl& url)
{
    if (s_Hook)
        return s_Hook(url);
    return QDesktopServices::openUrl(url);
}

void CUrlOpener::SetHook(Hook hook)
{
    s_Hook = std::move(hook);
}
