#include "app/MainFrame.h"

#include "app/ChildFrame.h"
#include "app/DataFolderCommand.h"
#include "app/EditMenu.h"
#include "dialogs/OptionalFeaturesDlg.h"
#include "dialogs/ProductInfoDlg.h"
#include "app/FrameBars.h"
#include "app/FrameClose.h"
#include "app/FrameStatusBar.h"
#include "app/MDIClientWnd.h"
#include "app/NavigationTree.h"
#include "config/CommandPrompts.h"
#include "config/Language.h"
#include "config/WrittenNotes.h"
#include "app/MenuHelp.h"
#include "widgets/HelpLayer.h"
#include "editor/CsvCommands.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"
#include "print/ReportPrinter.h"
#include "app/ViewTargets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QShortcut>
#include <QTime>
#include <QToolBar>
#include <QToolButton>
#include <QMdiArea>
#include <QMenuBar>

#include <algorithm>

namespace {
// Initial size before start-up shows the frame maximized.
constexpr QSize kInitialSize(900, 550);
// Room for the menus, the title line and a few channels; the grid scrolls in whatever is left.
constexpr QSize kMinimumSize(560, 360);
constexpr const char* kFittedProperty = "fittedToArea";
}

CMainFrame::CMainFrame(const QString& company, QWidget* parent)
    : QMainWindow(parent)
    , m_pMdiArea(new CMDIClientWnd(this))
    , m_pReportPrinter(new CReportPrinter(this))
    , m_pProductInfoDlg(new CProductInfoDlg(this))
    , m_pOptionalFeaturesDlg(new COptionalFeaturesDlg(this))
{
    // The title stays the program's own until the channel view names the product.
    setWindowTitle(QStringLiteral("Program"));
    resize(kInitialSize);
    setMinimumSize(kMinimumSize);
    setCentralWidget(m_pMdiArea);
    m_pMdiArea->viewport()->installEventFilter(this);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnChildActivated);

    QMenu* file = AddMenu(tr("&File"));
    m_pMdiArea->setObjectName(QStringLiteral("mdiClient"));
    AddCommand(file, kFileNew, tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    AddCommand(file, kFileOpen, tr("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O));
    AddCommand(file, kFileOpenBackup, tr("Open &Backup..."));
    m_DocumentCommands << AddCommand(file, kFileClose, tr("&Close"));
    m_DocumentCommands << AddCommand(file, kFileSave, tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    m_DocumentCommands << AddCommand(file, kFileSaveAs, tr("Save &As..."));
    m_DocumentCommands << AddCommand(file, kFileImportCsv, tr("&Import CSV..."));
    m_DocumentCommands << AddCommand(file, kFileExportCsv, tr("&Export CSV..."));
    file->addSeparator();
    m_DocumentCommands << AddCommand(file, kFilePrint, tr("&Print..."), QKeySequence(Qt::CTRL | Qt::Key_P));
    m_DocumentCommands << AddCommand(file, kFilePrintPreview, tr("Print Pre&view"));
    AddCommand(file, kFilePrintSetup, tr("P&rint Setup..."));
    m_DocumentCommands << AddCommand(file, kFileExportPdf, tr("Export PDF..."));
    file->addSeparator();
    AddCommand(file, kAppExit, tr("E&xit"));

    QMenu* edit = AddMenu(tr("&Edit"));
    m_DocumentCommands << AddCommand(edit, kProductInformation, tr("&Product Information"));
    m_DocumentMenus << edit;
    m_DocumentCommands << AddCommand(edit, kChannelInformation, tr("&Channel Information"));
    m_DocumentCommands << AddCommand(edit, kOptionalFeatures, tr("&Optional Features"));
    AddCommand(edit, kPowerAdjust, tr("Power Adjust"));
    AddCommand(edit, kParameterAdjust, tr("Parameter Adjust"));
    m_pEditMenu = new CEditMenu(this, edit);

    QMenu* program = AddMenu(tr("&Program"));
    m_DocumentMenus << program;
    m_DocumentCommands << AddCommand(program, kRead, tr("&Read"), QKeySequence(Qt::CTRL | Qt::Key_R));
    m_DocumentCommands << AddCommand(program, kWrite, tr("&Write"), QKeySequence(Qt::CTRL | Qt::Key_W));
    m_DocumentCommands << AddCommand(program, kCompareRadio, tr("&Compare with Radio"));
    AddCommand(program, kProgrammingLog, tr("Programming &Log..."));

    QMenu* view = AddMenu(tr("&View"));
    AddCommand(view, kViewToolbar, tr("&Toolbar"));
    AddCommand(view, kViewStatusBar, tr("&Status Bar"));
    m_DocumentCommands << AddCommand(view, kViewControlBar, tr("&Control Bar"));

    QMenu* setup = AddMenu(tr("&Setup"));
    m_DocumentMenus << setup;
    m_DocumentCommands << AddCommand(setup, kComSetup, tr("&Com Setup"));
    m_DocumentCommands << AddCommand(setup, kLanguage, tr("&Language"));

    QMenu* help = AddMenu(tr("&Help"));
    // The key is shown in the entry; the key itself asks for the topic of what has the focus.
    AddCommand(help, kHelpTopics, tr("&Help Topics") + QStringLiteral("\tF1"));
    AddCommand(help, kOpenDataFolder, tr("Open &Data Folder"));
    AddCommand(help, kAppAbout, tr("&About"));
    auto* contextHelp = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(contextHelp, &QShortcut::activated, this, &CMainFrame::OnContextHelp);

    // F6 and Shift+F6 move between the panes: the navigation tree and the channel window.
    for (const auto& [id, key] : { std::pair { kNextPane, QKeySequence(Qt::Key_F6) },
             std::pair { kPrevPane, QKeySequence(Qt::SHIFT | Qt::Key_F6) } }) {
        auto* pane = new QAction(this);
        pane->setShortcut(key);
        pane->setData(id);
        connect(pane, &QAction::triggered, this, [this, id] { OnCommand(id); });
        addAction(pane);
    }

    m_pClose = new CFrameClose(this);
    m_pBars = new CFrameBars(this, company);
    connect(m_pBars->Tree(), &CNavigationTree::CommandRequested, this, &CMainFrame::OnCommand);
    UpdateCommands();
}

CMainFrame::~CMainFrame()
{
    // The document windows go while the frame is still whole.
    disconnect(m_pMdiArea, nullptr, this, nullptr);
    const QList<CChildFrame*> children = Children();
    for (CChildFrame* child : children) {
        disconnect(child, nullptr, this, nullptr);
        delete child;
    }
}

QMenu* CMainFrame::AddMenu(const QString& title)
{
    QMenu* menu = menuBar()->addMenu(title);
    CMenuHelp::Watch(menu);
    return menu;
}

QAction* CMainFrame::AddCommand(QMenu* menu, int id, const QString& text, const QKeySequence& shortcut)
{
    QAction* action = menu->addAction(text);
    action->setData(id);
    action->setStatusTip(CHelpLayer::WithHelpHint(CommandPrompts::StatusPrompt(id), id));
    if (const QString tip = CommandPrompts::ToolTip(id); !tip.isEmpty())
        action->setToolTip(CHelpLayer::WithHelpHint(tip, id));
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    return action;
}

QAction* CMainFrame::FindCommand(int id) const
{
    for (QAction* top : menuBar()->actions())
        if (QMenu* menu = top->menu())
            for (QAction* action : menu->actions())
                if (action->data().toInt() == id && !action->isSeparator())
                    return action;
    return nullptr;
}

QMenu* CMainFrame::MenuOf(int id) const
{
    QAction* action = FindCommand(id);
    return action ? qobject_cast<QMenu*>(action->parent()) : nullptr;
}

bool CMainFrame::RemoveCommand(int id)
{
    QAction* action = FindCommand(id);
    if (!action)
        return false;
    m_DocumentCommands.removeAll(action);
    delete action;
    return true;
}

void CMainFrame::AddChild(CChildFrame* child)
{
    m_pMdiArea->addSubWindow(child);
    child->move(0, 0);
    m_pActiveChild = child;
    connect(child, &QObject::destroyed, this, &CMainFrame::UpdateCommands, Qt::QueuedConnection);
    // A window restored from maximised takes back a size that may no longer fit the area.
    connect(child, &QMdiSubWindow::windowStateChanged, this, [this, child] { FitChildToArea(child); });
    m_pEditMenu->Attach(child);
    connect(child->View(), &CProgramView::WorkDone, this, &CMainFrame::ShowDone);
    connect(child->Document(), &CProgramDoc::Saved, this, [this](const QString& path) {
        ShowDone(WrittenNotes::Saved(path, QTime::currentTime(), CLanguage::IsChinese()));
    });
    connect(child->View(), &CProgramView::BandNote, this, &CMainFrame::ShowBandNote);
    UpdateCommands();
}

CChildFrame* CMainFrame::ActiveChild() const
{
    if (auto* active = qobject_cast<CChildFrame*>(m_pMdiArea->activeSubWindow()))
        return active;
    return qobject_cast<CChildFrame*>(m_pActiveChild.data());
}

QMdiArea* CMainFrame::MdiArea() const
{
    return m_pMdiArea;
}

QList<CChildFrame*> CMainFrame::Children() const
{
    QList<CChildFrame*> children;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList())
        if (auto* child = qobject_cast<CChildFrame*>(window))
            children << child;
    return children;
}

void CMainFrame::OnChildActivated()
{
    if (auto* active = qobject_cast<CChildFrame*>(m_pMdiArea->activeSubWindow()))
        m_pActiveChild = active;
    UpdateCommands();
}

void CMainFrame::UpdateCommands()
{
    const bool hasDocument = ActiveChild() != nullptr;
    for (QAction* action : std::as_const(m_DocumentCommands))
        action->setEnabled(hasDocument);
    // Without a document the menu bar is the short one: File, View and Help.
    for (QMenu* menu : std::as_const(m_DocumentMenus))
        menu->menuAction()->setVisible(hasDocument);
    if (m_pBars)
        m_pBars->UpdateChecks();
    if (m_pEditMenu)
        m_pEditMenu->Update();
}

void CMainFrame::FocusNextPane(bool forward)
{
    Q_UNUSED(forward); // two panes: either direction goes to the other one
    CChildFrame* child = ActiveChild();
    QWidget* tree = m_pBars->Tree();
    const bool treeHasFocus = tree->isVisible() && tree->hasFocus();
    if (treeHasFocus && child && child->isVisible())
        child->View()->setFocus(Qt::TabFocusReason);
    else if (tree->isVisible())
        tree->setFocus(Qt::TabFocusReason);
}

void CMainFrame::ShowDone(const QString& text)
{
    m_pBars->StatusBar()->ShowDone(text);
}

void CMainFrame::ShowBandNote(const QString& note)
{
    const QString done = m_pBars->StatusBar()->DoneText();
    if (!done.startsWith(note))
        ShowDone(done.isEmpty() ? note : note + QStringLiteral("  ") + done);
}

void CMainFrame::OnContextHelp()
{
    int topic = 0;
    if (auto* button = qobject_cast<QToolButton*>(QApplication::widgetAt(QCursor::pos()));
        button && button->defaultAction() && m_pBars->ToolBar()->isAncestorOf(button))
        topic = button->defaultAction()->data().toInt();
    if (!CHelpLayer::HasTopic(topic))
        topic = CHelpLayer::ControlId(QApplication::focusWidget());
    if (!CHelpLayer::HasTopic(topic))
        topic = CHelpLayer::kContentsTopic;
    CHelpLayer::ShowTopic(this, topic);
}

void CMainFrame::OnCommand(int id)
{
    // What the last command did stays on show only until the next one.
    if (id != kNextPane && id != kPrevPane)
        m_pBars->StatusBar()->ClearDone();
    switch (id) {
    case kFileNew:
        emit FileNewRequested();
        return;
    case kFileOpen:
        emit FileOpenRequested();
        return;
    case kFileOpenBackup:
        emit FileOpenBackupRequested();
        return;
    case kProgrammingLog:
        emit ProgrammingLogRequested();
        return;
    case kAppAbout:
        emit AboutRequested();
        return;
    case kHelpTopics:
        CHelpLayer::ShowTopic(this, CHelpLayer::kContentsTopic);
        return;
    case kOpenDataFolder:
        DataFolderCommand::Run(this);
        return;
    case kAppExit:
        close();
        return;
    case kViewToolbar:
    case kViewStatusBar:
    case kViewControlBar:
        m_pBars->Toggle(id);
        return;
    case kNextPane:
    case kPrevPane:
        FocusNextPane(id == kNextPane);
        return;
    case kFilePrintSetup:
        m_pReportPrinter->PageSetup(this);
        return;
    default:
        break;
    }
    CChildFrame* child = ActiveChild();
    if (!child)
        return;
    CProgramView* view = child->View();
    switch (id) {
    case kFileClose:
        child->hide();
        break;
    case kFileSave:
        child->Document()->DoFileSave();
        break;
    case kFileSaveAs:
        child->Document()->DoSaveAs();
        break;
    case kProductInformation:
        m_pProductInfoDlg->Run(ViewTargets::Product(view));
        break;
    case kOptionalFeatures:
        m_pOptionalFeaturesDlg->Run(child->Document());
        break;
    case kFilePrint:
        m_pReportPrinter->Print(this, ViewTargets::Report(*view));
        break;
    case kFilePrintPreview:
        m_pReportPrinter->Preview(this, ViewTargets::Report(*view));
        break;
    case kFileExportPdf:
        if (const QString note = m_pReportPrinter->ExportPdf(this, ViewTargets::Report(*view)); !note.isEmpty())
            ShowDone(note);
        break;
    case kChannelInformation:
        child->showNormal();
        m_pMdiArea->setActiveSubWindow(child);
        break;
    case kRead:
        view->OnRead();
        break;
    case kWrite:
        view->OnWrite();
        break;
    case kCompareRadio:
        view->OnCompare();
        break;
    case kFileImportCsv:
        CsvCommands::Import(*view);
        break;
    case kFileExportCsv:
        CsvCommands::Export(*view);
        break;
    case kComSetup:
        view->OnComSetup();
        break;
    case kLanguage:
        view->OnLanguage();
        break;
    default:
        break;
    }
}

// A document window larger than the area it lives in would hide channels and columns beyond the
// area's edge with no way to reach them: it is shrunk to the area (its grid then scrolls), and grows
// back towards its natural size when the area grows again.
void CMainFrame::FitChildToArea(QMdiSubWindow* child)
{
    // Before the frame is shown the area has no size of its own yet; its first resize fits then.
    if (!child || !m_pMdiArea->isVisible() || child->isMaximized() || child->isMinimized())
        return;
    const QSize area = m_pMdiArea->viewport()->size();
    const QSize natural = child->sizeHint();
    const bool fitted = child->property(kFittedProperty).toBool();
    if (child->width() <= area.width() && child->height() <= area.height() && !fitted)
        return;
    const QSize size = natural.boundedTo(area);
    child->setProperty(kFittedProperty, size != natural);
    QPoint at = child->pos();
    at.setX(std::clamp(at.x(), 0, area.width() - size.width()));
    at.setY(std::clamp(at.y(), 0, area.height() - size.height()));
    child->setGeometry(QRect(at, size));
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pMdiArea->viewport() && event->type() == QEvent::Resize)
        for (CChildFrame* child : Children())
            FitChildToArea(child);
    return QMainWindow::eventFilter(watched, event);
}

// A radio is never left half-written without a word: running transfers are asked about (and ended)
// first. Nothing unsaved is lost silently: every document with edits is offered for saving, or kept
// in the backups when a stop signal closes the window with nobody to ask.
void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!m_pClose->MayClose()) {
        event->ignore();
        return;
    }
    if (m_pClose->IsUnattended()) {
        m_pClose->KeepUnsavedEdits();
        event->accept();
        return;
    }
    for (CChildFrame* child : Children()) {
        if (!child->Document()->SaveModified()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}
