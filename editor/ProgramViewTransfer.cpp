// The channel view's transfer commands: Read, Write and Compare with Radio open the progress window, whose
// OK runs the clone transfer on the chosen port and brings its outcome into the document.

#include "editor/ProgramView.h"

#include "config/IniFile.h"
#include "config/Language.h"
#include "config/UserSettings.h"
#include "editor/RadioCompare.h"
#include "image/BackupStore.h"
#include "image/ProgramDoc.h"
#include "link/CloneTransfer.h"
#include "link/LogRecord.h"
#include "link/PortName.h"
#include "link/ProcessDlg.h"
#include "link/ProgramLogDlg.h"
#include "link/RunningWork.h"
#include "link/TransferDriver.h"
#include "link/TransferNotes.h"
#include "link/VerifyRun.h"
#include "link/WriteQuestions.h"
#include "radio/ServiceAccess.h"
#include "widgets/MessageBox.h"

#include <QDateTime>
#include <QPointer>
#include <QScopeGuard>

void CProgramView::OnRead()
{
    // A read replaces every channel: unsaved edits are offered for saving first, as Open does. A
    // running transfer is not asked about; the choice only sets what the next window does.
    if (!m_pProcessDlg->IsStarted() || !m_pProcessDlg->isVisible()) {
        OnLeaveCell();
        if (!m_pDocument->SaveModified())
            return;
    }
    m_bWrite = 0;
    m_bCompare = false;
    m_pProcessDlg->Open(true);
}

void CProgramView::OnWrite()
{
    OnLeaveCell(); // the grid stays read-only while the progress window is up
    // Asked once per write, before its window: a transfer already running is not asked about.
    if (!m_pProcessDlg->IsStarted() || !m_pProcessDlg->isVisible()) {
        CRadioImage image = m_pDocument->m_Image;
        m_Cells.StoreGrid(image);
        const std::optional<bool> tables
            = WriteQuestions::Ask(this, m_Ini, *m_pDocument, image, { m_nLowerLimit, m_nUpperLimit });
        if (!tables)
            return;
        m_bWriteTables = *tables;
    }
    m_bWrite = 1;
    m_bCompare = false;
    m_pProcessDlg->SetVerifyAfterWriting(CUserSettings::ForConfiguration(m_Ini).VerifyAfterWriting());
    m_pProcessDlg->Open(false, m_bWriteTables);
}

void CProgramView::OnCompare()
{
    m_bWrite = 0;
    m_bCompare = true;
    m_pProcessDlg->Open(true);
}

namespace {
// What the status bar keeps saying: a write whose verify did not confirm it never reads as done.
QString TransferDoneText(const CCloneTransfer& transfer, bool verify, const CVerifyRun::Result& verified)
{
    const bool zh = CLanguage::IsChinese();
    const QString port = CPortName::Current();
    const QTime now = QTime::currentTime();
    if (transfer.TransferDirection() == CCloneTransfer::Direction::Read)
        return TransferNotes::ReadDone(transfer.ByteCount(), port, now, zh);
    if (!verify || verified.kind == CVerifyRun::Result::Kind::Verified)
        return TransferNotes::WriteDone(transfer.ByteCount(), port, verify, now, zh);
    if (verified.kind == CVerifyRun::Result::Kind::Differs)
        return TransferNotes::WriteVerifyFailed(port, verified.address, now, zh);
    return TransferNotes::WriteNotVerified(transfer.ByteCount(), port, now, zh);
}
} // namespace

// OK in the progress window: one clone transfer on the port chosen in Port Setting. The port is opened
// here and closed before this returns, whatever happens.
void CProgramView::OnTransfer()
{
    OnLeaveCell(); // a value still in its edit box belongs to the grid
    const bool write = m_bWrite != 0;
    if (write)
        StoreGrid(); // even when the port then fails, as Save would
    CRadioImage& image = m_pDocument->m_Image;
    // A read receives into a copy: the document keeps its image unless every block comes in.
    const std::unique_ptr<CCloneTransfer> transfer = write
        ? CCloneTransfer::ChannelWrite(image, m_bWriteTables && CServiceAccess::IsGranted())
        : CCloneTransfer::ChannelRead(image);
    const QString device = CPortName::DevicePath(CPortName::Current(), m_Ini);
    transfer->SetPortName(CPortName::Current());

    // The windows are serviced between blocks, where any command may run: even one that closes
    // this view. Nothing of the view is touched once it has gone.
    CTransferDriver driver(m_pProcessDlg, this);
    const QPointer<QWidget> self(this);
    const QString port = CPortName::Current();
    const QString file = m_pDocument->PathName();
    const CIniFile& ini = m_Ini; // the application's, which outlives this view
    const bool compare = !write && m_bCompare;
    // Listed as running until its record is written (the guard goes after the record's): a window
    // that closes meanwhile asks first, and stops it as Cancel does.
    const QPointer<CProcessDlg> dialog(m_pProcessDlg);
    CRunningWork::Guard running(write ? CRunningWork::Kind::Write : CRunningWork::Kind::Read,
        { TransferNotes::PortLabel(port, device) }, [dialog] {
            if (dialog)
                dialog->m_bCancel = 1;
        });
    const CCloneTransfer::Status status = driver.Run(*transfer, device);
    // Every way out of here leaves its record; the view may be gone by then.
    CLogRecord record = CLogRecord::Of(*transfer, port, device, file, ini);
    if (compare)
        record.SetCompare(); // nothing was read into the document or its file
    const auto logged = qScopeGuard([&record, &self] { CProgramLogDlg::Record(self, record); });
    // A stop leaves its port and how far it got in the status bar, not "Ready".
    if (!driver.Abandoned() && status == CCloneTransfer::Status::Stopped)
        emit WorkDone(TransferNotes::StoppedDone(write, transfer->PortLabel(), transfer->BlocksDone(),
            transfer->BlockCount(), QTime::currentTime(), CLanguage::IsChinese()));
    if (driver.Abandoned() || status != CCloneTransfer::Status::Done)
        return;
    if (compare) {
        RadioCompare::ShowDifferences(*this, *transfer);
        return;
    }
    const bool verify = write && m_pProcessDlg->VerifyAfterWriting();
    CVerifyRun::Result verified;
    if (verify)
        running.SetKind(CRunningWork::Kind::Verify);
    if (verify && !CVerifyRun::Run(m_pProcessDlg, this, *transfer, device, &record, &verified))
        return;
    emit WorkDone(TransferDoneText(*transfer, verify, verified));
    if (!write) {
        const CRadioImage before = image;
        for (const CCloneBlock& block : transfer->Blocks())
            image.CopyIn(block.address, transfer->Image().Range(block.address, block.length));
        CProgramDoc::SetNewDocument(false);
        ShowImage();
        m_pDocument->RecordRead(before, QStringLiteral("Read"));
        // Every read is also kept in the user's backups; the read stands even when that fails.
        const DataFile::Result kept = CBackupStore().Keep(
            image, QDateTime::currentDateTime(), &record.backup, TransferNotes::PortLabel(port, device));
        if (!kept.ok())
            CMessageBox::Show(this, DataFile::Describe(kept, CBackupStore::Folder()), QMessageBox::Ok,
                QMessageBox::Warning);
    }
    // File > Close only hid the channel window; a finished transfer brings it back.
    if (QWidget* frame = Frame(); frame && frame->isHidden())
        frame->showNormal();
}
