#pragma once

#include "link/DeviceAccess.h"
#include "link/SerialLine.h"

#include <QString>
#include <cstdint>
#include <memory>

class CSerialTrace;

// The one door to the radio: a serial device opened for exclusive use, set to 9600 baud, 8 data bits,
// no parity, 1 stop bit, binary, with the read time-outs the clone protocol counts on. One object per
// exchange; it is closed on every path out of the exchange (the destructor closes it too).
class CSerialPort {
public:
    // Why Open failed, as far as the operating system tells (see SerialLine.h).
    using OpenFailure = SerialOpenFailure;
    // Bytes received, 0..n, and whether the read call itself failed (device gone, port not open).
    using ReadResult = CSerialLine::ReadResult;

    // Time-outs of every exchange, in milliseconds.
    static constexpr int kReadIntervalMs = 100; // silence between two bytes that ends a read
    static constexpr int kReadTotalPerByteMs = 50; // a read of n bytes ends after 50 n + 100 ms
    static constexpr int kReadTotalConstantMs = 100;
    static constexpr int kWriteTotalPerByteMs = 50; // a write of n bytes may take 50 n + 50 ms
    static constexpr int kWriteTotalConstantMs = 50;
    static constexpr int kBaudRate = 9600;

    CSerialPort();
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort &) = delete;
    CSerialPort &operator=(const CSerialPort &) = delete;

    // Opens the device (a system name such as "COM3" or "/dev/ttyUSB0") for exclusive read and write
    // and configures it at once. False when it is missing, held by someone else or refused.
    bool Open(const QString &device);
    // Sets DTR, then RTS, for the clone exchange. A device without those lines ignores it.
    void RaiseControlLines();
    // Discards whatever waits in the transmit and the receive queue.
    virtual void Purge();
    // Sends n bytes and waits until they are handed to the device; returns the count handed over.
    virtual int Write(const std::uint8_t *bytes, int n);
    // Waits for up to n bytes: ends when n bytes are in, after 100 ms of silence once bytes came, or
    // after 50 n + 100 ms in all. Bytes beyond the count received leave the buffer untouched.
    virtual ReadResult Read(std::uint8_t *buffer, int n);
    // The fixed pauses of the protocol (2 ms before each wake-up byte).
    virtual void Pause(int milliseconds);
    void Close();
    bool IsOpen() const;

    OpenFailure Failure() const { return m_Failure; }
    // A second line for the user saying why the port did not open, in the chosen language; empty
    // when the system gave no reason. It names port (as the user knows it, "COM3 (/dev/ttyUSB2)"), or
    // the device when port is empty.
    QString FailureReason(bool chinese, const QString &port = QString()) const;
    // The open port failed in itself (a USB adapter pulled out, say), not merely timed out waiting.
    bool IsBroken() const { return m_Line->Broken(); }

private:
    std::unique_ptr<CSerialLine> m_Line; // the platform's side of the port
    QString m_strDevice;
    OpenFailure m_Failure = OpenFailure::None;
    QString m_strSystemError;
    CDeviceAccess m_Access; // who may use the device, when the system refused it
    std::shared_ptr<CSerialTrace> m_Trace; // null while tracing is off
};
