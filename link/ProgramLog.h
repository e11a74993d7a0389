#pragma once

#include "link/LogRecord.h"

#include <QList>
#include <QString>
#include <QStringList>

// The programming log: one JSON line per read or write of a radio in "programming-log.jsonl" in the
// user's data folder. Lines are only ever appended, each whole in one write and flushed to the disk;
// at kRotateBytes the file is renamed with its date ("programming-log-20261208.jsonl") and a new one
// begun. Writing a record never stops a transfer: the caller gets the reason and decides whom to tell.
class CProgramLog {
public:
    static constexpr qint64 kRotateBytes = 10 * 1024 * 1024;

    struct Contents {
        QList<CLogRecord> records; // oldest first
        QStringList notes; // one per line that could not be read, saying which
    };

    // The log at path; empty: the default one, Path().
    explicit CProgramLog(const QString& path = QString());

    // programming-log.jsonl in the per-user data folder (~/.local/share/fieldcom-programmer).
    static QString Path();

    // Appends record; the empty text when it is on the disk, else the reason.
    QString Append(const CLogRecord& record) const;
    // The records of this file and of the files it was renamed to, oldest first. A line that is cut
    // (a crash or a full disk during its write) or garbled is left out with a note.
    Contents Read(bool chinese) const;

    // "The programming log could not be written (reason); the transfer itself is not affected."
    static QString NotWritten(const QString& reason, bool chinese);

private:
    void RotateIfFull() const;
    QStringList Files() const; // renamed ones oldest first, then the current one

    QString m_strPath;
};
