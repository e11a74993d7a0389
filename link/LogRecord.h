#pragma once

#include "link/CloneTransfer.h"
#include "link/WriteVerify.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class CIniFile;
class CServiceExchange;
struct CBatchOutcome;

// One line of the programming log: which radio on which port got or gave which bytes, when, and how
// it ended. Kept as one JSON object a line; the texts are English whatever the running language, so a
// log stays readable and searchable across language changes.
class CLogRecord {
public:
    QDateTime time; // UTC
    QString port; // as the user named it
    QString cable; // the system's description of the USB cable on that port, or empty
    QString device; // the device the port opened when its name is another ("/dev/ttyUSB0" for COM1)
    QString direction; // "read", "write" or "compare" (a read to compare with a document)
    QString area; // "channels", "power" or "param"
    QString file; // the data file's path (bytes that are not UTF-8 kept, see FileName), "unsaved
                  // document", or empty for a compare
    QString sha256; // of the 1024-byte image written or read; empty for a read that did not finish
    QString type; // the radio type and band texts of that image
    QString band;
    int blocks = 0; // blocks sent or received
    QString verify; // "verified", "differs at 0x1A0" or "not verified"
    QString outcome; // "done", "failed: <reason>" or "stopped"
    QString version; // of the program that made the record
    QString backup; // a read's backup file, or empty

    // The name a document without a file is logged under.
    static QString UnsavedDocument();

    // A clone read or write as it ended (no verify yet). device: where port leads, to find the cable.
    static CLogRecord Of(const CCloneTransfer& transfer, const QString& port, const QString& device,
        const QString& file, const CIniFile& ini);
    // One radio of a batch or the repeat loop, verify included.
    static CLogRecord Of(const CBatchOutcome& outcome, CCloneTransfer::Direction direction,
        const QString& device, const QString& file, const CIniFile& ini);
    // A service read or write of one alignment area.
    static CLogRecord Of(const CServiceExchange& exchange, const QString& port, const QString& device,
        const QString& file, const CIniFile& ini);
    // The read-back after a write: its status, and the first difference when it finished.
    void SetVerify(CCloneTransfer::Status readBack, const std::optional<CWriteVerify::Mismatch>& mismatch);

    // A finished read whose data file could not be saved: the read is not done for the user.
    void SetSaveFailure(const QString& reason);
    // A read made to compare the radio with a document: no file was read into or written.
    void SetCompare();

    // The JSON object on one line, ended with a line feed.
    QByteArray ToLine() const;
    // A line of the log file; nothing for a cut or garbled line.
    static std::optional<CLogRecord> FromLine(const QByteArray& line);

    // The columns of the table and the CSV export, in order, and this record's texts for them (the
    // port column carries the cable's description in brackets).
    static QStringList Columns();
    QStringList Fields() const;
    // Fields as a table shows them: control characters and the bytes of a name that are not UTF-8
    // escaped ("\n", "\x1b", "\xff"), so no text can draw a row of its own or drive a terminal.
    QStringList ShownFields() const;
    // The port as the log window shows it: with the device it opened and the cable, when known
    // ("COM1 (/dev/ttyUSB0, USB Serial)"), escaped as ShownFields are.
    QString ShownPort() const;
    // The digest cut to its first kShortDigest hex digits and an ellipsis, for a column that the full
    // 64 would crowd; empty stays empty.
    static constexpr int kShortDigest = 12;
    QString ShortDigest() const;
    // The header and a row of the CSV export, for a spreadsheet: the shown fields, with the text cells
    // that a spreadsheet would take for a formula made plain (the number of blocks stays a number).
    static QByteArray CsvHeader();
    QByteArray CsvRow() const;

private:
    void SetImage(const CRadioImage& image, const CIniFile& ini);
    void SetEnd(CCloneTransfer::Status status, const QString& reason, const QString& step);
};
