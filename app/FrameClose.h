#pragma once

#include "config/StopRequest.h"

#include <QObject>

class CMainFrame;
class QSocketNotifier;
class QTimer;

// The main frame's way out while something still talks to a radio. Closing (the close box, File >
// Exit, a restart) asks first, naming the ports and what stopping leaves behind; Keep Running is the
// default. Stop ends every transfer the way its own Cancel does, between blocks, with its warning and
// its log record, and the frame closes once the last one has ended. A stop signal (SIGTERM, SIGHUP,
// SIGINT; the console's events on Windows) does the same without a question, since nobody may be
// there: messages go to the error output and the frame closes without asking about unsaved edits,
// which are kept in the backups instead.
class CFrameClose : public QObject {
    Q_OBJECT

public:
    explicit CFrameClose(CMainFrame* frame);
    ~CFrameClose() override;

    // From the frame's closeEvent: true when it may go on closing now; false when it must stay (the
    // user kept the work running, or the close waits for the work to end).
    bool MayClose();
    // A stop signal came: no questions from here on.
    bool IsUnattended() const { return m_bUnattended; }
    // Before an unattended close: what unsaved edits there are go into the backups, said on the error
    // output.
    void KeepUnsavedEdits();

private:
    void OnStopNotify();
    void OnIdle();

    CMainFrame* m_pFrame;
    CStopRequest m_StopRequest; // the stop signals are ours for the frame's life
    QSocketNotifier* m_pNotifier = nullptr;
    QTimer* m_pPoll = nullptr; // where the platform gives no descriptor
    bool m_bCloseWhenIdle = false;
    bool m_bAsking = false; // the question is up
    bool m_bUnattended = false;
};
