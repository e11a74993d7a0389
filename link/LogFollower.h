#pragma once

#include "link/ProgramLog.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <functional>

// Follows the programming log while a window shows it: records that any program (this one,
// program-cli, a second window) appends appear without reopening. The log and its folder are watched;
// a burst of changes is read once it has settled. What was appended to the current file is read from
// where the last reading stopped; a file renamed away at 10 MB, removed or replaced is noticed and the
// whole log is read again, so a record appended just before a rename is never missed.
class CLogFollower : public QObject {
    Q_OBJECT

public:
    using RecordSink = std::function<void(const CLogRecord&)>;
    using NoteSink = std::function<void(const QString&)>;

    // How long a burst of changes may go on before the log is read; each change starts it anew.
    static constexpr int kSettleMs = 150;

    explicit CLogFollower(const QString& logPath, QObject* parent = nullptr);

    // Every record of the log, as CProgramLog::ForEach reads it; remembers where the current file ends.
    // False when the log was renamed while it was read: records may have been missed, read again.
    bool ReadAll(bool chinese, const RecordSink& onRecord, const NoteSink& onNote);
    // The records appended since the last reading. False, and nothing read, when the current file is no
    // longer the one read before: the caller starts again with ReadAll.
    bool ReadNew(bool chinese, const RecordSink& onRecord, const NoteSink& onNote);

signals:
    // The log changed on the disk and the changes have settled.
    void Changed();

private:
    void Watch();
    // The first bytes of the current file, which tell it from a file that took its name.
    QByteArray Head() const;

    CProgramLog m_Log;
    QFileSystemWatcher m_Watcher;
    QTimer m_Settle;
    CProgramLog::Position m_At;
    QByteArray m_Head;
};
