#include "app/BatchMenu.h"

#include "app/ChildFrame.h"
#include "widgets/HelpLayer.h"
#include "app/MainFrame.h"
#include "config/IniFile.h"
#include "config/Language.h"
#include "config/UserDataNotes.h"
#include "config/WrittenNotes.h"
#include "config/UserSettings.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"
#include "link/BatchWriteDlg.h"
#include "link/SerialTrace.h"
#include "link/WriteQuestions.h"

#include <QAction>
#include <QMenu>
#include <QTime>

#include <memory>

CBatchMenu::CBatchMenu(CMainFrame* frame, const CIniFile& ini)
    : QObject(frame)
    , m_pFrame(frame)
    , m_Ini(ini)
{
    if (QMenu* program = frame->MenuOf(CMainFrame::kWrite)) {
        m_pBatchWrite = program->addAction(tr("&Batch Write..."));
        m_pBatchWrite->setData(CHelpLayer::kBatchWriteTopic); // for F1 on the entry
        m_pBatchWrite->setStatusTip(CHelpLayer::WithHelpHint(QString(), CHelpLayer::kBatchWriteTopic));
        connect(m_pBatchWrite, &QAction::triggered, this, &CBatchMenu::OnBatchWrite);
        // Like Read and Write it needs a document.
        connect(program, &QMenu::aboutToShow, this, [this] { m_pBatchWrite->setEnabled(m_pFrame->ActiveChild()); });
    }
    const bool log = CUserSettings::ForConfiguration(ini).LogSerialTraffic();
    if (QMenu* setup = frame->MenuOf(CMainFrame::kComSetup)) {
        m_pLog = setup->addAction(tr("Log &Serial Traffic"));
        m_pLog->setData(CHelpLayer::kSerialLogTopic);
        // Where the files go, in the status bar while the entry is highlighted.
        m_pLog->setStatusTip(CHelpLayer::WithHelpHint(
            UserDataNotes::TracePrompt(CSerialTrace::DefaultFolder(), CLanguage::IsChinese()),
            CHelpLayer::kSerialLogTopic));
        m_pLog->setCheckable(true);
        m_pLog->setChecked(log);
        connect(m_pLog, &QAction::toggled, this, &CBatchMenu::OnLogSerialTraffic);
    }
    if (log)
        CSerialTrace::StartFolder(CSerialTrace::DefaultFolder());
}

void CBatchMenu::OnLogSerialTraffic(bool on)
{
    CUserSettings::ForConfiguration(m_Ini).SetLogSerialTraffic(on);
    if (on)
        CSerialTrace::StartFolder(CSerialTrace::DefaultFolder());
    else
        CSerialTrace::StopAll();
    m_pFrame->ShowDone(UserDataNotes::TraceSwitched(on, CSerialTrace::DefaultFolder(), CLanguage::IsChinese()));
}

void CBatchMenu::OnBatchWrite()
{
    CChildFrame* child = m_pFrame->ActiveChild();
    if (!child)
        return;
    if (m_pDialog) {
        m_pDialog->raise();
        m_pDialog->activateWindow();
        return;
    }
    CProgramView* view = child->View();
    view->OnLeaveCell(); // a value still in its edit box belongs to the grid
    view->StoreGrid();
    // Asked once for the whole batch, as a single Write asks once.
    const CRadioImage& image = child->Document()->m_Image;
    const std::optional<bool> tables = WriteQuestions::Ask(
        m_pFrame, m_Ini, *child->Document(), image, { view->m_nLowerLimit, view->m_nUpperLimit });
    if (!tables)
        return;
    m_pDialog = new CBatchWriteDlg(m_Ini, image, *tables, m_pFrame);
    m_pDialog->SetDocumentPath(child->Document()->PathName());
    // Every Start takes the document as it is then; the questions are asked again only when it changed
    // since they were answered. A closed document leaves the window what it last took.
    QPointer<CChildFrame> source(child);
    auto answered = std::make_shared<CBatchWriteDlg::Content>(CBatchWriteDlg::Content { image, *tables });
    m_pDialog->SetContentSource([this, source, answered]() -> std::optional<CBatchWriteDlg::Content> {
        if (!source)
            return *answered;
        CProgramView* view = source->View();
        view->OnLeaveCell();
        view->StoreGrid();
        const CRadioImage& now = source->Document()->m_Image;
        if (now == answered->image)
            return *answered;
        const std::optional<bool> again = WriteQuestions::Ask(
            m_pFrame, m_Ini, *source->Document(), now, { view->m_nLowerLimit, view->m_nUpperLimit });
        if (!again)
            return std::nullopt;
        *answered = { now, *again };
        if (m_pDialog)
            m_pDialog->SetDocumentPath(source->Document()->PathName());
        return *answered;
    });
    m_pDialog->setAttribute(Qt::WA_DeleteOnClose);
    m_pFrame->ShowDone(QString());
    // Every run of the batch ends with what it did in the status bar.
    CBatchWriteDlg* dialog = m_pDialog;
    connect(dialog, &CBatchWriteDlg::Finished, this, [this, dialog] {
        m_pFrame->ShowDone(WrittenNotes::BatchDone(
            dialog->DoneCount(), dialog->FailedCount(), QTime::currentTime(), CLanguage::IsChinese()));
    });
    m_pDialog->show();
}
