#pragma once

#include <QString>
#include <QTime>

// What a user is told around a clone transfer beyond its bare outcome: which step of a failed
// exchange went wrong on which port and what to check, where a transfer is going, and what a finished
// one did. Each text in English or Chinese.
namespace TransferNotes {

// The step of an exchange that failed.
enum class Step {
    WakeUp, // the radio did not answer the wake-up and the link opening
    BlockMissing, // a block (or the radio's answer to it) did not come in time
    BlockRefused, // the radio answered a block with something other than its acknowledgement
    PortBroken, // the port itself failed once open
};

// How a port is named to the user: "COM3", or "COM3 (/dev/ttyUSB2)" when it stands for a device of
// another name; a device path on its own as it is.
QString PortLabel(const QString &name, const QString &device);

// The second line under "Communication Error": port, step and what to try. block counts from 1 of
// total; address is the block's first byte in the radio.
QString FailureLine(Step step, const QString &port, int block, int total, int address, bool chinese);

// The step's own words from that line, in English, without the port and the advice: what the
// programming log keeps as the reason ("the port stopped working (the device went away or failed)").
QString StepReason(Step step, int block, int total, int address);

// The progress window's note on where the transfer goes and what to check when nothing happens.
QString ProgressNote(const QString &port, bool chinese);

// What the status bar keeps saying after a finished transfer, e.g. "Read 1,024 bytes from COM3 at 14:02".
QString ReadDone(int bytes, const QString &port, const QTime &at, bool chinese);
QString WriteDone(int bytes, const QString &port, bool verified, const QTime &at, bool chinese);
// A write whose verify found address holding something else: "Write to COM1 failed its verify at
// 14:02 (0x092 differs); write again".
QString WriteVerifyFailed(const QString &port, int address, const QTime &at, bool chinese);
// A write whose read-back for the verify did not come in whole (failed or cancelled): written, but not
// known to be right.
QString WriteNotVerified(int bytes, const QString &port, const QTime &at, bool chinese);

// A transfer stopped between blocks (Cancel, a closing window, a stop signal): which port and how
// far it got. The line under a stopped write's warning: "Write to COM3 stopped after 31 of 60 blocks."
QString StoppedLine(bool write, const QString &port, int done, int total, bool chinese);
// What the status bar keeps saying afterwards: "Write to COM3 stopped after 31 of 60 blocks at 14:02;
// write again before using the radio", "Read from COM3 stopped after 10 of 64 blocks at 14:02; the
// document is unchanged".
QString StoppedDone(bool write, const QString &port, int done, int total, const QTime &at, bool chinese);

// A count with a comma every three digits, whatever the system's locale: 1024 → "1,024".
QString Grouped(int value);

} // namespace TransferNotes
