#include "link/TransferDriver.h"

#include "config/Language.h"
#include "widgets/MessageBox.h"
#include "link/ProcessDlg.h"
#include "link/SerialTrace.h"

#include <QCoreApplication>

using Status = CCloneTransfer::Status;

CTransferDriver::CTransferDriver(CProcessDlg* dialog, QWidget* messageParent)
    : m_pDialog(dialog)
    , m_pMessageParent(messageParent)
{
}

Status CTransferDriver::Run(CCloneTransfer& transfer, const QString& device)
{
    m_bAbandoned = false;
    // A Cancel that came in between OK and the start: the port is never opened.
    if (m_pDialog && m_pDialog->m_bCancel)
        return Finish(transfer.Stop());
    if (m_pDialog)
        m_pDialog->SetBlockCount(transfer.BlockCount());

    Status status = transfer.Begin(device);
    // A Cancel (or a closing window) while the radio was being woken up: not one block goes out.
    if (status == Status::Running && !ServiceUserInterface())
        status = transfer.Stop();
    while (status == Status::Running) {
        status = transfer.Step();
        if (status != Status::Running && status != Status::Done)
            break;
        if (m_pDialog)
            m_pDialog->StepIt();
        if (status == Status::Running && !ServiceUserInterface())
            status = transfer.Stop();
    }
    if (m_bAbandoned)
        return status;
    // The progress window goes first, so the message stands on its own.
    Finish(status);
    Report(transfer);
    return status;
}

bool CTransferDriver::ServiceUserInterface()
{
    for (int round = 0; round < kServicingPerBlock; ++round) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (!m_pDialog) {
            m_bAbandoned = true;
            return false;
        }
        // Cancel, or the window hidden by other means: stop between blocks.
        if (m_pDialog->m_bCancel || !m_pDialog->isVisible())
            return false;
    }
    return true;
}

void CTransferDriver::Report(const CCloneTransfer& transfer)
{
    // A stopped read is quiet; a stopped write still warns that the radio holds a mix.
    // A trace that could not be written whole is said too; the transfer's own ending stays as it was.
    QStringList lines = transfer.OutcomeLines(CLanguage::IsChinese());
    lines += CSerialTrace::TakeFailures(CLanguage::IsChinese());
    if (!lines.isEmpty())
        CMessageBox::Show(m_pMessageParent, lines.join(QLatin1Char('\n')), QMessageBox::Ok, QMessageBox::Warning);
}

Status CTransferDriver::Finish(Status status)
{
    if (m_pDialog)
        m_pDialog->DestroyWindow();
    return status;
}
