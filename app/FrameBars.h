#pragma once

#include <QObject>

class CFrameStatusBar;
class CMainFrame;
class CNavigationTree;
class CTreeControlBar;
class QAction;
class QDockWidget;
class QToolBar;

// The main frame's bars: the toolbar (New, Open, Save | Read, Write | Print | About), the status
// bar, and the control bar with the navigation tree docked at the left edge. The View menu's three
// entries show and hide them and carry a check mark exactly while their bar is shown.
class CFrameBars : public QObject {
    Q_OBJECT

public:
    // Builds the bars on frame; the frame's commands must exist already.
    CFrameBars(CMainFrame* frame, const QString& company);

    QToolBar* ToolBar() const { return m_pToolBar; }
    CFrameStatusBar* StatusBar() const { return m_pStatusBar; }
    QDockWidget* ControlDock() const { return m_pControlDock; }
    CTreeControlBar* ControlBar() const { return m_pControlBar; }
    CNavigationTree* Tree() const { return m_pTree; }

    // View > Toolbar, Status Bar, Control Bar.
    void Toggle(int command);
    // Keeps the check marks in step with what is shown.
    void UpdateChecks();

private:
    void BuildToolBar();

    CMainFrame* m_pFrame;
    QToolBar* m_pToolBar;
    CFrameStatusBar* m_pStatusBar;
    CNavigationTree* m_pTree;
    CTreeControlBar* m_pControlBar;
    QDockWidget* m_pControlDock;
};
