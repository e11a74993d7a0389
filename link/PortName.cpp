#include "link/PortName.h"

#include "app/IniFile.h"
#include "app/UserSettings.h"

#include <QRegularExpression>

#include <cstdio>

QString CPortName::s_Current = QStringLiteral("COM1");

namespace {
const QString kPortsSection = QStringLiteral("Ports");
constexpr int kFirstPrefixedPort = 10;
}

QString CPortName::FromNumber(int n)
{
    return n >= kFirstPrefixedPort ? QString::asprintf("\\\\.\\COM%d", n) : QString::asprintf("COM%d", n);
}

std::optional<int> CPortName::NumberOf(const QString &name)
{
    int number = 0;
    if (std::sscanf(name.toLatin1().constData(), "%*[^M]M%d", &number) == 1)
        return number;
    return std::nullopt;
}

QString CPortName::DevicePath(const QString &name, const CIniFile &ini)
{
#if defined(Q_OS_WIN)
    Q_UNUSED(ini);
    return name;
#else
    static const QRegularExpression comName(
        QStringLiteral("^(?:\\\\\\\\\\.\\\\)?COM(-?\\d+)$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = comName.match(name);
    if (!match.hasMatch())
        return name;
    bool ok = false;
    const int n = match.captured(1).toInt(&ok);
    if (!ok)
        return name;
    const QString configured = ini.GetValue(kPortsSection, QStringLiteral("COM%1").arg(n)).trimmed();
    if (!configured.isEmpty())
        return configured;
    return QStringLiteral("/dev/ttyUSB%1").arg(static_cast<long long>(n) - 1);
#endif
}

QString CPortName::Current()
{
    return s_Current;
}

void CPortName::SetCurrent(const QString &name)
{
    s_Current = name;
}

QString CPortName::LoadFromSettings(const CUserSettings &settings)
{
    s_Current = FromNumber(settings.PortNumber());
    return s_Current;
}

void CPortName::Choose(int n, CUserSettings &settings)
{
    s_Current = FromNumber(n);
    settings.SetPortNumber(n);
}
