#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <mutex>

// A readable record of the bytes on the serial line, for support: one line per write or read with
// the time, the device, the direction ("->" to the radio, "<-" from it), the bytes in hex and as
// ASCII. Either every port writes into one file (program-cli --trace FILE) or each device gets a file
// of its own for as long as tracing stays on, named by date, time and device, in a folder (the window's
// Log Serial Traffic); every transfer on that device is appended to it.
// The port asks for a trace when it opens; with tracing off it gets none and pays nothing.
class CSerialTrace {
public:
    enum class Direction { ToRadio, FromRadio };

    ~CSerialTrace();

    // Every port opened from now on writes into path (appended; a symlink is refused). False, with the
    // reason in error, when the file cannot be opened; tracing is then off.
    static bool StartFile(const QString &path, QString *error = nullptr);
    // Every device opened from now on gets its own new file in folder (created when missing).
    static void StartFolder(const QString &folder);
    static void StopAll();
    // One line for each trace that could not be written whole since the last call, naming the file
    // and the reason; the transfers themselves are not affected by a failing trace.
    static QStringList TakeFailures(bool chinese);
    // The folder the window's log goes to: the per-user data folder, subfolder "traces".
    static QString DefaultFolder();

    // What a port opening device writes into, or null while tracing is off.
    static std::shared_ptr<CSerialTrace> ForPort(const QString &device);

    void Bytes(const QString &device, Direction direction, const std::uint8_t *bytes, int n);
    // A free line: port opened, closed, a read that timed out.
    void Note(const QString &device, const QString &text);
    QString Path() const;

    // One line as it is written (without the time stamp), e.g. "-> 02 50 52  |.PR|".
    static QString Describe(Direction direction, const std::uint8_t *bytes, int n);

private:
    CSerialTrace(const QString &path, bool exclusive);
    void Line(const QString &device, const QString &text);
    void Failed(const QString &reason);

    QString m_strPath;
    int m_nFile = -1;
    QString m_strError; // the first failure; nothing more is written after it
    std::mutex m_Mutex;
};
