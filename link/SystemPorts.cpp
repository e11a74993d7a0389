#include "link/SystemPorts.h"

#include "config/Language.h"
#include "link/SerialLine.h"

#include <algorithm>

CSystemPorts::Source CSystemPorts::s_Source;

namespace {
constexpr CBilingual kMaker { "maker %1", "制造商 %1" };
constexpr CBilingual kSerialNumber { "serial number %1", "序列号 %1" };
constexpr CBilingual kNoneFound { "No serial ports found.", "未找到串口。" };
}

QList<CSystemPorts::Port> CSystemPorts::Available()
{
    QList<Port> ports;
    if (s_Source) {
        ports = s_Source();
    } else {
        ports = CSerialLine::SystemPorts();
    }
    std::sort(ports.begin(), ports.end(), [](const Port& a, const Port& b) { return a.device < b.device; });
    return ports;
}

QString CSystemPorts::Describe(const Port& port, bool chinese)
{
    QStringList known;
    if (!port.description.trimmed().isEmpty())
        known << port.description.trimmed();
    if (!port.manufacturer.trimmed().isEmpty())
        known << kMaker.Text(chinese).arg(port.manufacturer.trimmed());
    if (!port.serialNumber.trimmed().isEmpty())
        known << kSerialNumber.Text(chinese).arg(port.serialNumber.trimmed());
    if (known.isEmpty())
        return port.device;
    return QStringLiteral("%1  (%2)").arg(port.device, known.join(QStringLiteral(", ")));
}

QString CSystemPorts::NoneFound(bool chinese)
{
    return kNoneFound.Text(chinese);
}

void CSystemPorts::SetSource(Source source)
{
    s_Source = std::move(source);
}
