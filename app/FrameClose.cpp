#include "app/FrameClose.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "config/Language.h"
#include "image/BackupStore.h"
#include "image/ProgramDoc.h"
#include "link/RunningWork.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>

namespace {

constexpr CBilingual kUnsavedKept { "Unsaved changes to %1 were not saved; they are kept in %2.",
    "%1 的更改未保存; 已保留在 %2。" };
constexpr CBilingual kUnsavedLost { "Unsaved changes to %1 could not be kept: %2", "%1 的更改未能保留: %2" };
// How often the stop flag is looked at where no descriptor wakes the window.
constexpr int kStopPollMs = 200;
// Modal windows closed on a stop signal, at most: each one closed may open the next.
constexpr int kModalsClosedAtMost = 16;

void FrameCloseSay(const QString& text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace

CFrameClose::CFrameClose(CMainFrame* frame)
    : QObject(frame)
    , m_pFrame(frame)
{
    connect(&CRunningWork::Instance(), &CRunningWork::Idle, this, &CFrameClose::OnIdle);
    if (const int descriptor = CStopRequest::NotifyDescriptor(); descriptor >= 0) {
        m_pNotifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
        connect(m_pNotifier, &QSocketNotifier::activated, this, &CFrameClose::OnStopNotify);
    } else {
        m_pPoll = new QTimer(this);
        connect(m_pPoll, &QTimer::timeout, this, &CFrameClose::OnStopNotify);
        m_pPoll->start(kStopPollMs);
    }
}

CFrameClose::~CFrameClose()
{
    CMessageBox::SetUnattended(false);
}

bool CFrameClose::MayClose()
{
    if (CRunningWork::IsIdle()) {
        m_bCloseWhenIdle = false;
        return true;
    }
    if (m_bCloseWhenIdle || m_bAsking)
        return false; // already stopping (the frame closes once the work has ended), or already asked
    if (!m_bUnattended) {
        // Asked while the work waits between blocks; No, the default, lets it go on.
        m_bAsking = true;
        const QMessageBox::StandardButton answer = CMessageBox::Ask(m_pFrame,
            CRunningWork::CloseQuestion(CRunningWork::Entries(), CLanguage::IsChinese()),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::Warning);
        m_bAsking = false;
        // A stop signal while the question was up has decided already.
        if (answer != QMessageBox::Yes || m_bCloseWhenIdle)
            return false;
    }
    m_bCloseWhenIdle = true;
    CRunningWork::StopAll();
    // A batch may have ended on its own while the question was up.
    return CRunningWork::IsIdle();
}

void CFrameClose::OnIdle()
{
    if (!m_bCloseWhenIdle)
        return;
    // Queued: the work that just ended is still on its way out of the call stack.
    QMetaObject::invokeMethod(
        m_pFrame, [frame = m_pFrame] { frame->close(); }, Qt::QueuedConnection);
}

void CFrameClose::OnStopNotify()
{
    CStopRequest::DrainNotify();
    if (!CStopRequest::Pending() || m_bUnattended)
        return;
    m_bUnattended = true;
    CMessageBox::SetUnattended(true);
    const QString signal = QString::fromLatin1(CStopRequest::SignalName());
    const QList<CRunningWork::Entry> running = CRunningWork::Entries();
    if (!running.isEmpty())
        FrameCloseSay(CRunningWork::SignalNote(signal, running, CLanguage::IsChinese()));
    // A window waiting for an answer would wait for ever: each is closed as its Cancel would.
    for (int closed = 0; closed < kModalsClosedAtMost; ++closed) {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!modal)
            break;
        modal->reject();
    }
    m_bCloseWhenIdle = true;
    CRunningWork::StopAll();
    if (CRunningWork::IsIdle())
        OnIdle();
}

void CFrameClose::KeepUnsavedEdits()
{
    for (CChildFrame* child : m_pFrame->Children()) {
        CProgramDoc* document = child->Document();
        emit document->CommitEdits();
        if (!document->IsModified())
            continue;
        emit document->StoreGrid();
        const QString name
            = document->PathName().isEmpty() ? document->Title() : QFileInfo(document->PathName()).fileName();
        QString kept;
        const DataFile::Result result
            = CBackupStore().Keep(document->m_Image, QDateTime::currentDateTime(), &kept);
        const bool zh = CLanguage::IsChinese();
        FrameCloseSay(result.ok()
                ? kUnsavedKept.Text(zh).arg(name, kept)
                : kUnsavedLost.Text(zh).arg(name, DataFile::Describe(result, CBackupStore::Folder())));
    }
}
