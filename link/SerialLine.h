#pragma once

#include "link/SystemPorts.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

// Why a port did not open, as far as the operating system tells.
// LockNotMade: the port was free, but the lock file that keeps other programs off it could not be
// written (a full disk, a limit on file size).
enum class SerialOpenFailure { None, Missing, NotSerial, Busy, NoPermission, LockNotMade, Other };

// The operating system's side of the serial port, one file per platform: Qt Serial Port where the
// system has device files (SerialLinePosix.cpp), the Win32 communications API on Windows
// (SerialLineWin.cpp). CSerialPort keeps what is common: time-outs, the trace and the messages.
class CSerialLine {
public:
    struct ReadResult {
        int count = 0;
        bool failed = false; // the read call itself failed (device gone, port not open)
    };

    virtual ~CSerialLine() = default;

    // The platform's line.
    static std::unique_ptr<CSerialLine> Make();
    // The serial ports the system reports, unsorted.
    static QList<CSystemPorts::Port> SystemPorts();

    // Opens the device for exclusive use and sets 9600 baud, 8 data bits, no parity, 1 stop bit, binary.
    // False with the kind of failure and the system's own text.
    virtual bool Open(const QString &device, SerialOpenFailure &failure, QString &systemError) = 0;
    // Sets DTR, then RTS. A device without those lines ignores it; a refusal stops nothing.
    virtual void RaiseControlLines() = 0;
    virtual void Purge() = 0;
    // Hands n bytes to the device within the write time-out; the count handed over.
    virtual int Write(const std::uint8_t *bytes, int n) = 0;
    // Waits for up to n bytes with the read time-outs of CSerialPort.
    virtual ReadResult Read(std::uint8_t *buffer, int n) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // True once a call failed in the port itself (an adapter pulled out), not merely timed out.
    virtual bool Broken() const = 0;
};
