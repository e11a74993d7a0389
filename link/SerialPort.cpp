#include "link/SerialPort.h"

#include "config/Language.h"
#include "link/PortPermission.h"
#include "link/SerialTrace.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <thread>

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <qplatformdefs.h>
#include <unistd.h>
#endif

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

#if defined(Q_OS_WIN)
// Driver queue sizes of every exchange; only Windows lets a program choose them.
constexpr DWORD kReceiveQueue = 1024;
constexpr DWORD kTransmitQueue = 512;
#endif

#if !defined(Q_OS_WIN)
// The folders where the serial port library puts its LCK.. files, in the order it tries them.
const char *const kSerialLockFolders[] = { "/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp",
    "/tmp", "/var/tmp", "/var/lock/lockdev", "/run/lock" };

// The library says "permission error" both when another program holds the port's lock file and when
// it could not write one of its own (ENOSPC, EFBIG). Only a lock file that is there is someone else's.
bool SerialLockFileThere(const QString &location)
{
    QString name = location.startsWith(QLatin1String("/dev/")) ? location.mid(5) : location;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.prepend(QLatin1String("/LCK.."));
    for (const char *folder : kSerialLockFolders)
        if (QFileInfo::exists(QLatin1String(folder) + name))
            return true;
    return false;
}

bool SerialLockRefused(const QString &errorText)
{
    for (const char *text :
        { "Permission error while locking the device", "Permission error while creating lock file" })
        if (errorText == QLatin1String(text) || errorText == QCoreApplication::translate("QSerialPort", text))
            return true;
    return false;
}
#endif

} // namespace

CSerialPort::CSerialPort() = default;

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
    m_bBroken = false;
    m_strDevice = device;

    QString location = device;
#if !defined(Q_OS_WIN)
    // "Open an existing device only": QSerialPort would report a missing node as a generic error.
    const QFileInfo info(device);
    if (!info.exists()) {
        m_Failure = OpenFailure::Missing;
        return false;
    }
    // Lock files are named after the device, so a link such as /dev/serial/by-id/... must lock the
    // same name as the device it points to.
    if (info.isSymLink())
        location = info.canonicalFilePath();
    // A file, folder, pipe or socket is never opened as a port: it exists, but is no serial device.
    QT_STATBUF status;
    if (QT_STAT(QFile::encodeName(location).constData(), &status) == 0 && !S_ISCHR(status.st_mode)) {
        m_Failure = OpenFailure::NotSerial;
        return false;
    }
#endif
    m_Port.setPortName(location);
    if (!m_Port.open(QIODevice::ReadWrite)) {
        ClassifyOpenError(location);
        if (const std::shared_ptr<CSerialTrace> trace = CSerialTrace::ForPort(device))
            trace->Note(device, QStringLiteral("open failed: ") + FailureReason(false));
        return false;
    }
    Configure();
    m_Trace = CSerialTrace::ForPort(device);
    if (m_Trace)
        m_Trace->Note(device, QStringLiteral("opened at %1 baud, 8N1").arg(kBaudRate));
    return true;
}

void CSerialPort::ClassifyOpenError(const QString &location)
{
    m_strSystemError = m_Port.errorString();
    switch (m_Port.error()) {
    case QSerialPort::DeviceNotFoundError: m_Failure = OpenFailure::Missing; break;
    case QSerialPort::PermissionError:
#if defined(Q_OS_WIN)
        // Windows answers "access denied" for a port that another program holds.
        m_Failure = OpenFailure::Busy;
#else
        // The same error covers a refused open and a lock held by another program.
        if (::access(QFile::encodeName(location).constData(), R_OK | W_OK) != 0 && errno == EACCES) {
            m_Failure = OpenFailure::NoPermission;
            m_Access = CDeviceAccess::Of(location);
        }
        else if (SerialLockRefused(m_strSystemError) && !SerialLockFileThere(location))
            m_Failure = OpenFailure::LockNotMade;
        else
            m_Failure = OpenFailure::Busy;
#endif
        break;
    default:
        m_Failure = OpenFailure::Other;
#if !defined(Q_OS_WIN)
        // A character device that is no terminal (/dev/null, say) refuses the line settings with
        // ENOTTY, which the port reports only as its text.
        if (m_strSystemError == QString::fromLocal8Bit(std::strerror(ENOTTY)))
            m_Failure = OpenFailure::NotSerial;
#endif
        break;
    }
    m_Port.clearError();
}

void CSerialPort::Configure()
{
#if defined(Q_OS_WIN)
    ::SetupComm(reinterpret_cast<HANDLE>(m_Port.handle()), kReceiveQueue, kTransmitQueue);
#endif
    // Flow control stays off: the programming cable has no handshake lines. The results are not
    // checked: a device that refuses a setting is found out by the link opening.
    m_Port.setBaudRate(kBaudRate);
    m_Port.setDataBits(QSerialPort::Data8);
    m_Port.setParity(QSerialPort::NoParity);
    m_Port.setStopBits(QSerialPort::OneStop);
    m_Port.clearError();
}

void CSerialPort::RaiseControlLines()
{
    // Pseudo-terminals and some adapters have no modem lines; that is not an error here.
    m_Port.setDataTerminalReady(true);
    m_Port.setRequestToSend(true);
    m_Port.clearError();
}

void CSerialPort::Purge()
{
    if (m_Port.isOpen())
        m_Port.clear(QSerialPort::AllDirections);
    m_Port.clearError();
}

int CSerialPort::Write(const std::uint8_t *bytes, int n)
{
    if (!m_Port.isOpen() || n <= 0)
        return 0;
    const qint64 queued = m_Port.write(reinterpret_cast<const char *>(bytes), n);
    if (queued <= 0) {
        NoteBroken();
        return 0;
    }
    QDeadlineTimer deadline(kWriteTotalPerByteMs * n + kWriteTotalConstantMs);
    while (m_Port.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!m_Port.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
    }
    NoteBroken();
    const int sent = static_cast<int>(queued - m_Port.bytesToWrite());
    if (m_Trace) {
        m_Trace->Bytes(m_strDevice, CSerialTrace::Direction::ToRadio, bytes, sent);
        if (sent < n)
            m_Trace->Note(m_strDevice, QStringLiteral("write handed over %1 of %2 bytes").arg(sent).arg(n));
    }
    return sent;
}

CSerialPort::ReadResult CSerialPort::Read(std::uint8_t *buffer, int n)
{
    ReadResult result;
    if (!m_Port.isOpen()) {
        result.failed = true;
        return result;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now()
        + std::chrono::milliseconds(kReadTotalPerByteMs * std::max(n, 0) + kReadTotalConstantMs);
    Clock::time_point silenceEnd = Clock::time_point::max();
    while (result.count < n) {
        if (m_Port.bytesAvailable() > 0) {
            const qint64 got = m_Port.read(reinterpret_cast<char *>(buffer + result.count), n - result.count);
            if (got < 0) {
                result.failed = true;
                break;
            }
            result.count += static_cast<int>(got);
            silenceEnd = Clock::now() + std::chrono::milliseconds(kReadIntervalMs);
            continue;
        }
        const Clock::time_point until = std::min(end, silenceEnd);
        const Clock::time_point now = Clock::now();
        if (now >= until)
            break;
        // Rounded up, so a wait never ends just short of its limit and spins.
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(until - now);
        if (!m_Port.waitForReadyRead(static_cast<int>(wait.count()))) {
            if (NoteBroken()) {
                result.failed = true;
                break;
            }
        }
        if (!m_Port.isOpen()) {
            result.failed = true;
            break;
        }
    }
    if (m_Trace) {
        m_Trace->Bytes(m_strDevice, CSerialTrace::Direction::FromRadio, buffer, result.count);
        if (result.failed)
            m_Trace->Note(m_strDevice, QStringLiteral("read failed after %1 of %2 bytes").arg(result.count).arg(n));
        else if (result.count < n)
            m_Trace->Note(m_strDevice, QStringLiteral("read timed out after %1 of %2 bytes").arg(result.count).arg(n));
    }
    return result;
}

bool CSerialPort::NoteBroken()
{
    const QSerialPort::SerialPortError error = m_Port.error();
    // Only the kind is kept: the port's error text may be left over from an earlier call.
    const bool broken = error != QSerialPort::TimeoutError && error != QSerialPort::NoError;
    m_bBroken = m_bBroken || broken;
    m_Port.clearError();
    return broken;
}

void CSerialPort::Pause(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void CSerialPort::Close()
{
    if (m_Port.isOpen()) {
        m_Port.close();
        if (m_Trace)
            m_Trace->Note(m_strDevice, QStringLiteral("closed"));
    }
    m_Trace.reset();
    m_Port.clearError();
}

bool CSerialPort::IsOpen() const
{
    return m_Port.isOpen();
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
