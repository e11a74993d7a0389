#include "radio/ServiceAccess.h"

#include "config/Language.h"

namespace {
constexpr CBilingual kModeText { "Service Mode", "维修模式" };
}

const QString CServiceAccess::kAccessCode = QStringLiteral("k719wd");
bool CServiceAccess::s_bGranted = false;

bool CServiceAccess::Accepts(const QString& code)
{
    return code == kAccessCode;
}

bool CServiceAccess::IsGranted()
{
    return s_bGranted;
}

void CServiceAccess::Grant()
{
    s_bGranted = true;
}

void CServiceAccess::ResetForTest()
{
    s_bGranted = false;
}

QString CServiceAccess::ModeText(bool chinese)
{
    return kModeText.Text(chinese);
}

QString CServiceAccess::MarkedTitle(const QString& title, bool chinese)
{
    return s_bGranted ? title + QStringLiteral("  [") + ModeText(chinese) + QLatin1Char(']') : title;
}
