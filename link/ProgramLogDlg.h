#pragma once

#include "link/LogRecord.h"

#include <QDialog>
#include <QList>

#include <deque>

class CLogFollower;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// Program > Programming Log...: every read and write of a radio, one row each, the newest at the
// bottom and selected. How each ended (outcome, verify) comes before the file and the radio; the
// digest comes last, shortened, whole in its tooltip. The columns sort, the filter box keeps the rows
// holding its text, Export CSV... saves the rows shown, and Open Backup opens the copy a read made.
// The window follows the log: records any program appends while it is open join the table. The log
// is read a record at a time and the newest kMostRows are kept, so a log of any size opens in bounded
// memory.
class CProgramLogDlg : public QDialog {
    Q_OBJECT

public:
    // The help topic of the window and of its menu command.
    static constexpr int kHelpTopic = 32860;
    static constexpr int kMostRows = 10000;
    // The columns as the window shows them.
    enum Column { kTime, kPort, kDirection, kArea, kOutcome, kVerify, kFile, kType, kBand, kBlocks, kVersion,
        kBackup, kDigest, kColumnCount };
    // A cell's text past this width is cut with an ellipsis; its tooltip holds all of it.
    static constexpr int kWidestColumn = 320;

    // openFiles: the data files of the open documents, which Export CSV... never writes over.
    explicit CProgramLogDlg(QWidget* parent = nullptr, const QStringList& openFiles = {});

    QTableWidget* Table() const { return m_Table; }
    QLineEdit* Filter() const { return m_Filter; }
    QPushButton* OpenBackupButton() const { return m_OpenBackup; }
    // The backup to open once the dialog was accepted through Open Backup; empty otherwise.
    QString ChosenBackup() const { return m_strChosen; }

    // Appends record to the log for the window. A log that cannot be written is said once a session
    // in a message box over parent; the transfer stays as it ended.
    static void Record(QWidget* parent, const CLogRecord& record);
    // The same notice for the caller to show its own way; empty after the first time and on success.
    static QString RecordQuietly(const CLogRecord& record);

signals:
    // Export CSV... wrote the list: what and where, for the status bar.
    void Exported(const QString& note);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Load();
    // Reads what was appended since the last reading, or the whole log again after a rename.
    void OnLogChanged();
    void AddRows(const std::deque<CLogRecord>& records);
    void SetNotes();
    void AddNote(const QString& note);
    void OnFilter(const QString& text);
    void OnExport();
    void OnOpenBackup();
    void UpdateButtons();
    const CLogRecord* Current() const;

    QTableWidget* m_Table;
    QLineEdit* m_Filter;
    QLabel* m_Notes;
    QPushButton* m_Export;
    QPushButton* m_OpenBackup;
    CLogFollower* m_pFollower;
    std::deque<CLogRecord> m_Records; // the newest, oldest first
    qint64 m_nFirstSerial = 0; // the serial number of m_Records.front(); rows carry theirs
    qint64 m_nTotal = 0; // records in the log, shown or not
    QStringList m_NoteLines; // lines of the log that could not be read, said once each
    qint64 m_nMoreNotes = 0; // past kMostNotes, counted
    QStringList m_OpenFiles;
    QString m_strChosen;
};
