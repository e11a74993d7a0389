#include "app/FrameBars.h"

#include "app/FrameStatusBar.h"
#include "app/MainFrame.h"
#include "app/NavigationTree.h"
#include "widgets/PaintedIcon.h"
#include "app/TreeControlBar.h"
#include "config/CommandPrompts.h"

#include <QAction>
#include <QDockWidget>
#include <QToolBar>

namespace {

struct Button
{
    int command; // 0: a separator
    const char* themeIcon;
    PaintedIcon::Kind icon;
};

constexpr Button kButtons[] = {
    { CMainFrame::kFileNew, "document-new", PaintedIcon::Kind::New },
    { CMainFrame::kFileOpen, "document-open", PaintedIcon::Kind::Open },
    { CMainFrame::kFileSave, "document-save", PaintedIcon::Kind::Save },
    { 0, nullptr, PaintedIcon::Kind::New },
    { CMainFrame::kRead, nullptr, PaintedIcon::Kind::Read },
    { CMainFrame::kWrite, nullptr, PaintedIcon::Kind::Write },
    { 0, nullptr, PaintedIcon::Kind::New },
    { CMainFrame::kFilePrint, "document-print", PaintedIcon::Kind::Print },
    { 0, nullptr, PaintedIcon::Kind::New },
    { CMainFrame::kAppAbout, "help-about", PaintedIcon::Kind::About },
};

} // namespace

CFrameBars::CFrameBars(CMainFrame* frame, const QString& company)
    : QObject(frame)
    , m_pFrame(frame)
    , m_pToolBar(new QToolBar(frame))
    , m_pStatusBar(new CFrameStatusBar(frame))
    , m_pTree(new CNavigationTree(company))
    , m_pControlBar(new CTreeControlBar(m_pTree, company))
    , m_pControlDock(new QDockWidget(frame))
{
    BuildToolBar();
    frame->setStatusBar(m_pStatusBar);

    // Docked at the left for good: no title bar, no floating, no moving, no dock-widget close box.
    m_pControlDock->setObjectName(QStringLiteral("controlDock"));
    m_pControlDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    m_pControlDock->setAllowedAreas(Qt::LeftDockWidgetArea);
    auto* noTitle = new QWidget(m_pControlDock);
    noTitle->setFixedHeight(0);
    m_pControlDock->setTitleBarWidget(noTitle);
    m_pControlDock->setWidget(m_pControlBar);
    m_pControlDock->setFixedWidth(m_pControlBar->BarWidth());
    connect(m_pControlBar, &CTreeControlBar::WidthApplied, m_pControlDock, &QWidget::setFixedWidth);
    frame->addDockWidget(Qt::LeftDockWidgetArea, m_pControlDock);
    connect(m_pControlBar, &CTreeControlBar::CloseRequested, this, [this] {
        m_pControlDock->hide();
        UpdateChecks();
    });
    UpdateChecks();
}

void CFrameBars::BuildToolBar()
{
    m_pToolBar->setObjectName(QStringLiteral("toolBar"));
    m_pToolBar->setMovable(false);
    m_pToolBar->setFloatable(false);
    m_pToolBar->setIconSize(QSize(18, 18));
    m_pFrame->addToolBar(Qt::TopToolBarArea, m_pToolBar);
    for (const Button& button : kButtons) {
        if (!button.command) {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction* action = m_pFrame->FindCommand(button.command);
        if (!action)
            continue;
        action->setIcon(button.themeIcon ? PaintedIcon::ThemedIcon(button.themeIcon, button.icon)
                                         : PaintedIcon::Icon(button.icon));
        m_pToolBar->addAction(action);
    }
}

void CFrameBars::Toggle(int command)
{
    QWidget* bar = nullptr;
    switch (command) {
    case CMainFrame::kViewToolbar: bar = m_pToolBar; break;
    case CMainFrame::kViewStatusBar: bar = m_pStatusBar; break;
    case CMainFrame::kViewControlBar: bar = m_pControlDock; break;
    default: return;
    }
    bar->setVisible(bar->isHidden());
    UpdateChecks();
}

void CFrameBars::UpdateChecks()
{
    const std::pair<int, QWidget*> bars[] = { { CMainFrame::kViewToolbar, m_pToolBar },
        { CMainFrame::kViewStatusBar, m_pStatusBar }, { CMainFrame::kViewControlBar, m_pControlDock } };
    for (const auto& [command, bar] : bars)
        if (QAction* action = m_pFrame->FindCommand(command)) {
            action->setCheckable(true);
            action->setChecked(!bar->isHidden());
        }
}
