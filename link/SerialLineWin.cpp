#include "link/SerialLine.h"

#include "config/SystemErrorWin.h"
#include "link/SerialPort.h"

#include <algorithm>
#include <string>

#include <windows.h>

namespace {

// Driver queue sizes of every exchange; only Windows lets a program choose them.
constexpr DWORD kSerialReceiveQueueWin = 1024;
constexpr DWORD kSerialTransmitQueueWin = 512;

QString SerialErrorTextWin(DWORD error)
{
    return SystemErrorTextWin(error);
}

// A time-out ends a read or a write early; it does not mean the port is gone.
bool SerialTimedOutWin(DWORD error)
{
    return error == ERROR_TIMEOUT || error == ERROR_SEM_TIMEOUT || error == ERROR_COUNTER_TIMEOUT;
}

// The Win32 communications API on \\.\COMn.
class CSerialLineWin final : public CSerialLine {
public:
    ~CSerialLineWin() override { Close(); }
    bool Open(const QString &device, SerialOpenFailure &failure, QString &systemError) override;
    void RaiseControlLines() override;
    void Purge() override;
    int Write(const std::uint8_t *bytes, int n) override;
    ReadResult Read(std::uint8_t *buffer, int n) override;
    void Close() override;
    bool IsOpen() const override { return m_Handle != INVALID_HANDLE_VALUE; }
    bool Broken() const override { return m_bBroken; }

private:
    HANDLE m_Handle = INVALID_HANDLE_VALUE;
    bool m_bBroken = false;
};

bool CSerialLineWin::Open(const QString &device, SerialOpenFailure &failure, QString &systemError)
{
    m_bBroken = false;
    // The device namespace reaches every port, COM10 and up included.
    QString name = device;
    if (!name.startsWith(QLatin1String("\\\\.\\")))
        name.prepend(QLatin1String("\\\\.\\"));
    // Share mode 0: no other program can open the port while this one has it.
    m_Handle = CreateFileA(name.toLocal8Bit().constData(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_Handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        systemError = SerialErrorTextWin(error);
        switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            failure = SerialOpenFailure::Missing;
            break;
        case ERROR_ACCESS_DENIED: // what Windows answers for a port that another program holds
        case ERROR_SHARING_VIOLATION:
            failure = SerialOpenFailure::Busy;
            break;
        default:
            failure = SerialOpenFailure::Other;
            break;
        }
        return false;
    }
    DCB line {};
    line.DCBlength = sizeof line;
    if (!GetCommState(m_Handle, &line)) {
        // Something that opens but has no line settings (NUL, a printer): no serial port.
        failure = SerialOpenFailure::NotSerial;
        Close();
        return false;
    }
    SetupComm(m_Handle, kSerialReceiveQueueWin, kSerialTransmitQueueWin);
    // 9600 8N1, binary, no flow control: the programming cable has no handshake lines. As elsewhere, a
    // device that refuses a setting is found out by the link opening.
    line.BaudRate = CSerialPort::kBaudRate;
    line.ByteSize = 8;
    line.Parity = NOPARITY;
    line.StopBits = ONESTOPBIT;
    line.fBinary = TRUE;
    line.fParity = FALSE;
    line.fOutxCtsFlow = FALSE;
    line.fOutxDsrFlow = FALSE;
    line.fDtrControl = DTR_CONTROL_DISABLE;
    line.fRtsControl = RTS_CONTROL_DISABLE;
    line.fDsrSensitivity = FALSE;
    line.fOutX = FALSE;
    line.fInX = FALSE;
    line.fErrorChar = FALSE;
    line.fNull = FALSE;
    line.fAbortOnError = FALSE;
    SetCommState(m_Handle, &line);
    // The read ends after 100 ms of silence once bytes came, or after 50 n + 100 ms in all; a write of
    // n bytes may take 50 n + 50 ms.
    COMMTIMEOUTS timeouts {};
    timeouts.ReadIntervalTimeout = CSerialPort::kReadIntervalMs;
    timeouts.ReadTotalTimeoutMultiplier = CSerialPort::kReadTotalPerByteMs;
    timeouts.ReadTotalTimeoutConstant = CSerialPort::kReadTotalConstantMs;
    timeouts.WriteTotalTimeoutMultiplier = CSerialPort::kWriteTotalPerByteMs;
    timeouts.WriteTotalTimeoutConstant = CSerialPort::kWriteTotalConstantMs;
    SetCommTimeouts(m_Handle, &timeouts);
    return true;
}

void CSerialLineWin::RaiseControlLines()
{
    // A pseudo-terminal under Wine and some USB adapters refuse the modem lines; not an error here.
    if (!IsOpen())
        return;
    EscapeCommFunction(m_Handle, SETDTR);
    EscapeCommFunction(m_Handle, SETRTS);
}

void CSerialLineWin::Purge()
{
    if (IsOpen())
        PurgeComm(m_Handle, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR);
}

int CSerialLineWin::Write(const std::uint8_t *bytes, int n)
{
    if (!IsOpen() || n <= 0)
        return 0;
    DWORD written = 0;
    if (!WriteFile(m_Handle, bytes, DWORD(n), &written, nullptr) && !SerialTimedOutWin(GetLastError()))
        m_bBroken = true;
    return int(std::min<DWORD>(written, DWORD(n)));
}

CSerialLine::ReadResult CSerialLineWin::Read(std::uint8_t *buffer, int n)
{
    ReadResult result;
    if (!IsOpen()) {
        result.failed = true;
        return result;
    }
    if (n <= 0)
        return result;
    // The port's time-outs make one ReadFile the whole wait.
    DWORD got = 0;
    if (!ReadFile(m_Handle, buffer, DWORD(n), &got, nullptr) && !SerialTimedOutWin(GetLastError())) {
        m_bBroken = true;
        result.failed = true;
    }
    result.count = int(std::min<DWORD>(got, DWORD(n)));
    return result;
}

void CSerialLineWin::Close()
{
    if (m_Handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_Handle);
    m_Handle = INVALID_HANDLE_VALUE;
}

} // namespace

std::unique_ptr<CSerialLine> CSerialLine::Make()
{
    return std::make_unique<CSerialLineWin>();
}

QList<CSystemPorts::Port> CSerialLine::SystemPorts()
{
    // Every serial port driver enters its ports here: the value's name is the driver's device
    // (\Device\Serial0, \Device\Silabser0...), its data the port's name (COM3).
    QList<CSystemPorts::Port> ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return ports;
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD nameLength = DWORD(std::size(valueName));
        wchar_t data[64] {};
        DWORD dataBytes = sizeof data - sizeof(wchar_t); // room for an ending the registry may leave off
        DWORD type = 0;
        const LONG status = RegEnumValueW(
            key, index, valueName, &nameLength, nullptr, &type, reinterpret_cast<BYTE *>(data), &dataBytes);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            continue;
        const QString port = QString::fromWCharArray(data, int(dataBytes / sizeof(wchar_t))).section(QChar(0), 0, 0).trimmed();
        if (!port.isEmpty())
            ports << CSystemPorts::Port { port, QString::fromWCharArray(valueName, int(nameLength)), {}, {} };
    }
    RegCloseKey(key);
    return ports;
}
