#pragma once

#include <QObject>
#include <QPointer>

#include "link/BatchWriteDlg.h"

class CIniFile;
class CMainFrame;
class QAction;

// Program > Batch Write... and Setup > Log Serial Traffic on the main frame. The log setting is kept
// per user and applies from start-up: every transfer's bytes then go into a file per port in the data
// folder.
class CBatchMenu : public QObject {
    Q_OBJECT

public:
    CBatchMenu(CMainFrame* frame, const CIniFile& ini);

    // Opens the Batch Write window on the active document's image (the grid stored first).
    void OnBatchWrite();
    void OnLogSerialTraffic(bool on);

    QAction* BatchWriteAction() const { return m_pBatchWrite; }
    QAction* LogAction() const { return m_pLog; }
    CBatchWriteDlg* Dialog() const { return m_pDialog; }

private:
    CMainFrame* m_pFrame;
    const CIniFile& m_Ini;
    QAction* m_pBatchWrite = nullptr;
    QAction* m_pLog = nullptr;
    QPointer<CBatchWriteDlg> m_pDialog;
};
