#pragma once

#include "image/RadioImage.h"

#include <QDialog>
#include <QMap>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct CBatchOutcome;
class CIniFile;
class QCheckBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QThread;
class QTimer;

// Program > Batch Write...: the document's image into many radios. The ticked ports are written at
// once; with "One radio after another" each ticked port goes on writing the next radio put on its
// cable until Stop. Each Start takes the document as it is then; edits made while a batch runs reach
// the next Start, as the window says. The transfers run off the window's thread, so the window
// answers at all times; Stop (or closing the window) ends them between blocks. The port list follows
// cables plugged in and pulled out while nothing runs.
class CBatchWriteDlg : public QDialog {
    Q_OBJECT

public:
    // withTables: every radio also gets the image's power and alignment tables (service mode, asked).
    CBatchWriteDlg(const CIniFile& ini, const CRadioImage& image, bool withTables, QWidget* parent);
    ~CBatchWriteDlg() override;

    // The data file the image came from, named in the programming log; empty for an unsaved document.
    void SetDocumentPath(const QString& path) { m_strFile = path; }

    // What Start writes: the document's image as it is at that moment and whether the tables go too;
    // nothing when the user stopped at a question. Without a source, the image the window was made with.
    struct Content {
        CRadioImage image;
        bool withTables = false;
    };
    using ContentSource = std::function<std::optional<Content>()>;
    void SetContentSource(ContentSource source) { m_Source = std::move(source); }

    // How often the port list is looked at again while the window is open and idle.
    static constexpr int kPortPollMs = 1000;
    // Lists the ports again when cables came or went: those listed so far, and the system's new ones.
    void RefreshPorts();
    // An entry's data: whether a device is behind its port now (bool).
    static constexpr int kPresentRole = Qt::UserRole + 1;

    // The ports offered, each ticked or not: COM1..COM16 and the serial ports the system has. Each
    // entry shows the device it opens and the system's description of the cable; ports without a
    // device now are greyed.
    void SetPorts(const QStringList& ports, const QStringList& ticked);
    QStringList TickedPorts() const;
    bool IsRunning() const;
    int DoneCount() const { return m_nDone; }
    int FailedCount() const { return m_nFailed; }

    QListWidget* PortList() const { return m_Ports; }
    QCheckBox* RepeatBox() const { return m_Repeat; }
    QCheckBox* VerifyBox() const { return m_Verify; }
    QPushButton* StartButton() const { return m_Start; }
    QPushButton* StopButton() const { return m_Stop; }
    QPlainTextEdit* Log() const { return m_Log; }
    QLabel* Counts() const { return m_Counts; }
    QLabel* State() const { return m_State; }

    // The ports a new window offers.
    static QStringList OfferedPorts();

public slots:
    void OnStart();
    void OnStop();
    void reject() override;

signals:
    // Every transfer has ended.
    void Finished();

private:
    struct PortRow {
        QString port;
        QString text;
        bool present = false;
    };
    QList<PortRow> PortRows(const QStringList& ports) const;
    void AddLine(const QString& line, bool succeeded, bool counts);
    void OnWorkerDone();
    void UpdateControls();
    // What the repeat loop on port waits for; empty once that loop has ended.
    void SetWaiting(const QString& port, const QString& text);

    const CIniFile& m_Ini;
    CRadioImage m_Image;
    bool m_bWithTables;
    ContentSource m_Source;
    QStringList m_Listed; // the ports on offer, as last set
    QTimer* m_pPortPoll;
    QString m_strFile;
    std::atomic<bool> m_bStop { false };
    std::vector<QThread*> m_Workers;
    QMap<QString, QString> m_Waiting; // port: what its repeat loop waits for
    int m_nDone = 0;
    int m_nFailed = 0;
    int m_nRunningId = 0; // listed as running work while its workers run
    bool m_bStopForClose = false; // stopped because the program closes
    QStringList m_PartialLines; // this run's radios left with part of the new data

    QListWidget* m_Ports;
    QCheckBox* m_Repeat;
    QCheckBox* m_Verify;
    QLabel* m_Counts;
    QLabel* m_State;
    QLabel* m_pTables = nullptr;
    QPlainTextEdit* m_Log;
    QPushButton* m_Start;
    QPushButton* m_Stop;
    QPushButton* m_Close;
};
