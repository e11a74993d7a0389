#include "link/PortName.h"

#include "config/IniFile.h"
#include "config/Language.h"
#include "config/UserSettings.h"

#include <QRegularExpression>

#include <cstdio>

QString CPortName::s_Current = QStringLiteral("COM1");
QString CPortName::s_CommandLine;
std::map<int, CPortName::Override> CPortName::s_Overrides;

namespace {
const QString kPortsSection = QStringLiteral("Ports");
constexpr int kFirstPrefixedPort = 10;
const QString kPortOption = QStringLiteral("--port");
const QString kVirtualRadioOption = QStringLiteral("--virtual-radio");
constexpr CBilingual kVirtualRadioNotice { "COM%1: virtual radio on %2 (this run only)", "COM%1: 虚拟电台 %2 (仅本次运行)" };
constexpr CBilingual kDeviceNotice { "COM%1: %2 (this run only)", "COM%1: %2 (仅本次运行)" };
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

std::optional<int> CPortName::ComNumber(const QString &name)
{
    static const QRegularExpression comName(
        QStringLiteral("^(?:\\\\\\\\\\.\\\\)?COM(-?\\d+)$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = comName.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    bool ok = false;
    const int n = match.captured(1).toInt(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

QString CPortName::DevicePath(const QString &name, const CIniFile &ini)
{
    const std::optional<int> n = ComNumber(name);
    if (n) {
        if (const std::optional<Override> given = OverrideFor(*n))
            return given->device;
    }
#if defined(Q_OS_WIN)
    Q_UNUSED(ini);
    return name;
#else
    if (!n)
        return name;
    const QString configured = ini.GetValue(kPortsSection, QStringLiteral("COM%1").arg(*n)).trimmed();
    if (!configured.isEmpty())
        return configured;
    return UsbSerialDevice(*n);
#endif
}

QString CPortName::UsbSerialDevice(int n)
{
    return QStringLiteral("/dev/ttyUSB%1").arg(static_cast<long long>(n) - 1);
}

bool CPortName::IsOffered(const QString &name, const CIniFile &ini)
{
    const std::optional<int> n = ComNumber(name);
    if (!n || (*n >= 1 && *n <= kHighestPort))
        return true;
    // Past the list only where something names a device for it: COM17 would otherwise become
    // /dev/ttyUSB16, a device the user never meant.
    return DevicePath(name, ini) != UsbSerialDevice(*n);
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
    const QString device = settings.PortDevice();
    s_Current = !s_CommandLine.isEmpty() ? s_CommandLine : device.isEmpty() ? FromNumber(settings.PortNumber()) : device;
    return s_Current;
}

void CPortName::Choose(int n, CUserSettings &settings)
{
    s_Current = FromNumber(n);
    s_CommandLine.clear();
    settings.SetPortNumber(n);
    settings.SetPortDevice(QString());
}

void CPortName::ChooseDevice(const QString &device, CUserSettings &settings)
{
    s_Current = device;
    s_CommandLine.clear();
    settings.SetPortDevice(device);
}

bool CPortName::AddOverride(const QString &assignment, bool virtualRadio)
{
    const qsizetype equals = assignment.indexOf(QLatin1Char('='));
    if (equals < 0)
        return false;
    const std::optional<int> n = ComNumber(assignment.left(equals));
    const QString device = assignment.mid(equals + 1);
    if (!n || *n < 1 || device.isEmpty())
        return false;
    s_Overrides[*n] = Override { device, virtualRadio };
    return true;
}

std::optional<CPortName::Override> CPortName::OverrideFor(int n)
{
    const auto found = s_Overrides.find(n);
    if (found == s_Overrides.end())
        return std::nullopt;
    return found->second;
}

void CPortName::ClearOverrides()
{
    s_Overrides.clear();
    s_CommandLine.clear();
}

QStringList CPortName::TakeOverrideOptions(const QStringList &arguments, QStringList *rejected)
{
    QStringList rest;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        const bool port = arg == kPortOption;
        if (!port && arg != kVirtualRadioOption) {
            rest << arg;
            continue;
        }
        const QString value = i + 1 < arguments.size() ? arguments.at(++i) : QString();
        if (!AddOverride(value, !port)) {
            if (rejected)
                *rejected << (arg + QLatin1Char(' ') + value).trimmed();
        } else if (s_CommandLine.isEmpty()) {
            // The port named on the command line is the one this run talks to.
            s_CommandLine = FromNumber(*ComNumber(value.left(value.indexOf(QLatin1Char('=')))));
            s_Current = s_CommandLine;
        }
    }
    return rest;
}

QString CPortName::OverrideNotice(bool chinese)
{
    QStringList lines;
    for (const auto &[n, given] : s_Overrides)
        lines << (given.virtualRadio ? kVirtualRadioNotice : kDeviceNotice).Text(chinese).arg(n).arg(given.device);
    return lines.join(QStringLiteral("; "));
}

QStringList CPortName::OverrideOptions()
{
    QStringList options;
    for (const auto &[n, given] : s_Overrides)
        options << (given.virtualRadio ? kVirtualRadioOption : kPortOption) << QStringLiteral("COM%1=%2").arg(n).arg(given.device);
    return options;
}
