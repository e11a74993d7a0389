#pragma once

#include "link/CloneTransfer.h"

#include <QPointer>
#include <QString>

class CProcessDlg;
class QWidget;

// Runs one clone transfer on the user-interface thread, block by block, with the progress window
// showing how far it has come. After every block the windows get their turn a few times, so the
// program stays responsive and Cancel is seen between blocks; never during a block, nor while the
// port and the link are being opened. Every failure is reported in one message box. The window is
// closed on every way out.
class CTransferDriver {
public:
    // Rounds of event handling after each block; each one may end the transfer.
    static constexpr int kServicingPerBlock = 9;

    CTransferDriver(CProcessDlg* dialog, QWidget* messageParent);

    // Opens device and moves every block of transfer. Done when all went through; Stopped when the
    // user cancelled (no message) or the window's owner went away meanwhile (see Abandoned).
    CCloneTransfer::Status Run(CCloneTransfer& transfer, const QString& device);

    // The progress window was destroyed during the event handling (its view was closed): the caller
    // must not touch the view any more.
    bool Abandoned() const { return m_bAbandoned; }

private:
    // False when the transfer must stop here.
    bool ServiceUserInterface();
    void Report(const CCloneTransfer& transfer);
    CCloneTransfer::Status Finish(CCloneTransfer::Status status);

    QPointer<CProcessDlg> m_pDialog;
    QPointer<QWidget> m_pMessageParent;
    bool m_bAbandoned = false;
};
