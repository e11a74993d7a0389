#include "link/SerialLine.h"

#include "link/SerialPort.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

// Qt Serial Port on a device file.
class CSerialLinePosix final : public CSerialLine {
public:
    bool Open(const QString &device, SerialOpenFailure &failure, QString &systemError) override;
    void RaiseControlLines() override;
    void Purge() override;
    int Write(const std::uint8_t *bytes, int n) override;
    ReadResult Read(std::uint8_t *buffer, int n) override;
    void Close() override;
    bool IsOpen() const override { return m_Port.isOpen(); }
    bool Broken() const override { return m_bBroken; }

private:
    void Classify(const QString &location, SerialOpenFailure &failure, QString &systemError);
    bool NoteBroken();

    QSerialPort m_Port;
    bool m_bBroken = false;
};

bool CSerialLinePosix::Open(const QString &device, SerialOpenFailure &failure, QString &systemError)
{
    m_bBroken = false;
    QString location = device;
    // "Open an existing device only": QSerialPort would report a missing node as a generic error.
    const QFileInfo info(device);
    if (!info.exists()) {
        failure = SerialOpenFailure::Missing;
        return false;
    }
    // Lock files are named after the device, so a link such as /dev/serial/by-id/... must lock the
    // same name as the device it points to.
    if (info.isSymLink())
        location = info.canonicalFilePath();
    // A file, folder, pipe or socket is never opened as a port: it exists, but is no serial device.
    struct stat status {};
    if (::stat(QFile::encodeName(location).constData(), &status) == 0 && !S_ISCHR(status.st_mode)) {
        failure = SerialOpenFailure::NotSerial;
        return false;
    }
    m_Port.setPortName(location);
    if (!m_Port.open(QIODevice::ReadWrite)) {
        Classify(location, failure, systemError);
        return false;
    }
    // Flow control stays off: the programming cable has no handshake lines. The results are not
    // checked: a device that refuses a setting is found out by the link opening.
    m_Port.setBaudRate(CSerialPort::kBaudRate);
    m_Port.setDataBits(QSerialPort::Data8);
    m_Port.setParity(QSerialPort::NoParity);
    m_Port.setStopBits(QSerialPort::OneStop);
    m_Port.clearError();
    return true;
}

void CSerialLinePosix::Classify(const QString &location, SerialOpenFailure &failure, QString &systemError)
{
    systemError = m_Port.errorString();
    switch (m_Port.error()) {
    case QSerialPort::DeviceNotFoundError: failure = SerialOpenFailure::Missing; break;
    case QSerialPort::PermissionError:
        // The same error covers a refused open and a lock held by another program.
        if (::access(QFile::encodeName(location).constData(), R_OK | W_OK) != 0 && errno == EACCES)
            failure = SerialOpenFailure::NoPermission;
        else if (SerialLockRefused(systemError) && !SerialLockFileThere(location))
            failure = SerialOpenFailure::LockNotMade;
        else
            failure = SerialOpenFailure::Busy;
        break;
    default:
        failure = SerialOpenFailure::Other;
        // A character device that is no terminal (/dev/null, say) refuses the line settings with
        // ENOTTY, which the port reports only as its text.
        if (systemError == QString::fromLocal8Bit(std::strerror(ENOTTY)))
            failure = SerialOpenFailure::NotSerial;
        break;
    }
    m_Port.clearError();
}

void CSerialLinePosix::RaiseControlLines()
{
    // Pseudo-terminals and some adapters have no modem lines; that is not an error here.
    m_Port.setDataTerminalReady(true);
    m_Port.setRequestToSend(true);
    m_Port.clearError();
}

void CSerialLinePosix::Purge()
{
    if (m_Port.isOpen())
        m_Port.clear(QSerialPort::AllDirections);
    m_Port.clearError();
}

int CSerialLinePosix::Write(const std::uint8_t *bytes, int n)
{
    if (!m_Port.isOpen() || n <= 0)
        return 0;
    const qint64 queued = m_Port.write(reinterpret_cast<const char *>(bytes), n);
    if (queued <= 0) {
        NoteBroken();
        return 0;
    }
    QDeadlineTimer deadline(CSerialPort::kWriteTotalPerByteMs * n + CSerialPort::kWriteTotalConstantMs);
    while (m_Port.bytesToWrite() > 0 && !deadline.hasExpired()) {
        if (!m_Port.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
    }
    NoteBroken();
    return static_cast<int>(queued - m_Port.bytesToWrite());
}

CSerialLine::ReadResult CSerialLinePosix::Read(std::uint8_t *buffer, int n)
{
    ReadResult result;
    if (!m_Port.isOpen()) {
        result.failed = true;
        return result;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now()
        + std::chrono::milliseconds(CSerialPort::kReadTotalPerByteMs * std::max(n, 0) + CSerialPort::kReadTotalConstantMs);
    Clock::time_point silenceEnd = Clock::time_point::max();
    while (result.count < n) {
        if (m_Port.bytesAvailable() > 0) {
            const qint64 got = m_Port.read(reinterpret_cast<char *>(buffer + result.count), n - result.count);
            if (got < 0) {
                result.failed = true;
                break;
            }
            result.count += static_cast<int>(got);
            silenceEnd = Clock::now() + std::chrono::milliseconds(CSerialPort::kReadIntervalMs);
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
    return result;
}

bool CSerialLinePosix::NoteBroken()
{
    const QSerialPort::SerialPortError error = m_Port.error();
    // Only the kind is kept: the port's error text may be left over from an earlier call.
    const bool broken = error != QSerialPort::TimeoutError && error != QSerialPort::NoError;
    m_bBroken = m_bBroken || broken;
    m_Port.clearError();
    return broken;
}

void CSerialLinePosix::Close()
{
    if (m_Port.isOpen())
        m_Port.close();
    m_Port.clearError();
}

} // namespace

std::unique_ptr<CSerialLine> CSerialLine::Make()
{
    return std::make_unique<CSerialLinePosix>();
}

QList<CSystemPorts::Port> CSerialLine::SystemPorts()
{
    QList<CSystemPorts::Port> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports << CSystemPorts::Port { info.systemLocation(), info.description(), info.manufacturer(), info.serialNumber() };
    return ports;
}
