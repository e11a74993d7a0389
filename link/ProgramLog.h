#pragma once

#include "link/LogRecord.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QFile;

// The programming log: one JSON line per read or write of a radio in "programming-log.jsonl" in the
// user's data folder. Lines are only ever appended, each whole in one write and flushed to the disk;
// at kRotateBytes the file is renamed with its date ("programming-log-20261208.jsonl") and a new one
// begun. Every program of the user appends and renames under one lock, and a rename never replaces a
// file. Writing a record never stops a transfer: the caller gets the reason and decides whom to tell.
class CProgramLog {
public:
    static constexpr qint64 kRotateBytes = 10 * 1024 * 1024;
    // A line longer than this is no record of ours; it is skipped with a note, not read into memory.
    static constexpr qint64 kLongestLine = 64 * 1024;

    struct Contents {
        QList<CLogRecord> records; // in the order written
        QStringList notes; // one per line that could not be read, saying which
    };

    // The log at path; empty: the default one, Path(). rotateBytes: the size at which it is renamed.
    explicit CProgramLog(const QString& path = QString(), qint64 rotateBytes = kRotateBytes);

    // programming-log.jsonl in the per-user data folder (~/.local/share/fieldcom-programmer).
    static QString Path();

    // Appends record; the empty text when it is on the disk, else the reason.
    QString Append(const CLogRecord& record) const;
    // Every record of the files this log was renamed to, oldest file first, then of this file, in the
    // order written, one line at a time: memory holds one record however big the log. A line that is cut
    // (a crash during its write) or garbled is left out and said through onNote.
    void ForEach(bool chinese, const std::function<void(const CLogRecord&)>& onRecord,
        const std::function<void(const QString&)>& onNote) const;
    // Where a reading of one file stopped: the byte after the last whole line, and that line's number.
    struct Position {
        qint64 offset = 0;
        int line = 0;
    };
    // The records of one of the log's files from position from on, as ForEach reads them. A last line
    // without its line feed may still be being written: with holdCut it is left for the next reading
    // (not read, not noted) and the position returned stays before it.
    static Position ReadFile(const QString& path, Position from, bool holdCut, bool chinese,
        const std::function<void(const CLogRecord&)>& onRecord, const std::function<void(const QString&)>& onNote);
    // The same from a file already open; path names it in the notes.
    static Position ReadFile(QFile& file, const QString& path, Position from, bool holdCut, bool chinese,
        const std::function<void(const CLogRecord&)>& onRecord, const std::function<void(const QString&)>& onNote);
    // ForEach gathered: for logs known to be small.
    Contents Read(bool chinese) const;
    // The log's own files: the renamed ones oldest first, then the current one.
    QStringList Files() const;
    // Whether path is, or would be taken for, one of the log's own files: any name of one of them,
    // or the name of the log, of a renamed log or of the lock in its folder.
    bool Owns(const QString& path) const;

    // "The programming log could not be written (reason); the transfer itself is not affected."
    static QString NotWritten(const QString& reason, bool chinese);

private:
    void RotateIfFull() const;

    QString m_strPath;
    qint64 m_nRotateBytes;
};
