#include "link/SerialPort.h"

#include "config/Language.h"
#include "link/PortPermission.h"
#include "link/SerialTrace.h"

#include <QDir>

#include <chrono>
#include <thread>

namespace {

constexpr CBilingual kMissing { "The device %1 does not exist.", "设备 %1 不存在。" };
constexpr CBilingual kNotSerial { "%1 is not a serial port.", "%1 不是串口。" };
constexpr CBilingual kBusy { "%1 is in use by another program.", "%1 正被其他程序使用。" };
constexpr CBilingual kLockNotMade {
    "%1 could not be locked for this program: its lock file could not be written (a full disk, or a limit "
    "on file size).",
    "无法为本程序锁定 %1: 无法写入其锁文件 (磁盘已满, 或文件大小受限)。"
};
constexpr CBilingual kOther { "%1: %2", "%1: %2" };

} // namespace

CSerialPort::CSerialPort()
    : m_Line(CSerialLine::Make())
{
}

CSerialPort::~CSerialPort()
{
    Close();
}

bool CSerialPort::Open(const QString &device)
{
    Close();
    m_Failure = OpenFailure::None;
    m_strSystemError.clear();
    m_Access = {};
    m_strDevice = device;
    if (!m_Line->Open(device, m_Failure, m_strSystemError)) {
        if (m_Failure == OpenFailure::None)
            m_Failure = OpenFailure::Other;
        // Who may use the device (owner, group, mode), so the user hears what really stands in the way.
        if (m_Failure == OpenFailure::NoPermission)
            m_Access = CDeviceAccess::Of(device);
        if (const std::shared_ptr<CSerialTrace> trace = CSerialTrace::ForPort(device))
            trace->Note(device, QStringLiteral("open failed: ") + FailureReason(false));
        return false;
    }
    m_Trace = CSerialTrace::ForPort(device);
    if (m_Trace)
        m_Trace->Note(device, QStringLiteral("opened at %1 baud, 8N1").arg(kBaudRate));
    return true;
}

void CSerialPort::RaiseControlLines()
{
    m_Line->RaiseControlLines();
}

void CSerialPort::Purge()
{
    m_Line->Purge();
}

int CSerialPort::Write(const std::uint8_t *bytes, int n)
{
    if (!m_Line->IsOpen() || n <= 0)
        return 0;
    const int sent = m_Line->Write(bytes, n);
    if (m_Trace) {
        m_Trace->Bytes(m_strDevice, CSerialTrace::Direction::ToRadio, bytes, sent);
        if (sent < n)
            m_Trace->Note(m_strDevice, QStringLiteral("write handed over %1 of %2 bytes").arg(sent).arg(n));
    }
    return sent;
}

CSerialPort::ReadResult CSerialPort::Read(std::uint8_t *buffer, int n)
{
    const ReadResult result = m_Line->Read(buffer, n);
    if (m_Trace) {
        m_Trace->Bytes(m_strDevice, CSerialTrace::Direction::FromRadio, buffer, result.count);
        if (result.failed)
            m_Trace->Note(m_strDevice, QStringLiteral("read failed after %1 of %2 bytes").arg(result.count).arg(n));
        else if (result.count < n)
            m_Trace->Note(m_strDevice, QStringLiteral("read timed out after %1 of %2 bytes").arg(result.count).arg(n));
    }
    return result;
}

void CSerialPort::Pause(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void CSerialPort::Close()
{
    if (m_Line->IsOpen()) {
        m_Line->Close();
        if (m_Trace)
            m_Trace->Note(m_strDevice, QStringLiteral("closed"));
    }
    m_Trace.reset();
}

bool CSerialPort::IsOpen() const
{
    return m_Line->IsOpen();
}

QString CSerialPort::FailureReason(bool chinese, const QString &port) const
{
    const QString name = port.isEmpty() ? QDir::toNativeSeparators(m_strDevice) : port;
    switch (m_Failure) {
    case OpenFailure::None: return {};
    case OpenFailure::Missing: return kMissing.Text(chinese).arg(name);
    case OpenFailure::NotSerial: return kNotSerial.Text(chinese).arg(name);
    case OpenFailure::Busy: return kBusy.Text(chinese).arg(name);
    case OpenFailure::NoPermission: return PortPermission::Reason(name, m_Access, chinese);
    case OpenFailure::LockNotMade: return kLockNotMade.Text(chinese).arg(name);
    case OpenFailure::Other:
        return m_strSystemError.isEmpty() ? QString() : kOther.Text(chinese).arg(name, m_strSystemError);
    }
    return {};
}
