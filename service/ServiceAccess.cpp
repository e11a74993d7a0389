#include "service/ServiceAccess.h"

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
