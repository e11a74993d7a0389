#pragma once

#include <QMainWindow>
#include <QPointer>

class CChildFrame;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

// The program's one top-level window: menu bar and the area that holds the document windows. It
// owns no document work itself: each command goes to the application (New, Open, About), to the
// active document (Close, Save, Save As) or to the active channel view (Read, Write, Com Setup,
// Language).
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    // Command ids; menu entries are found and removed by them.
    enum Command {
        kFileNew = 57600,
        kFileOpen = 57601,
        kFileClose = 57602,
        kFileSave = 57603,
        kFileSaveAs = 57604,
        kAppExit = 57665,
        kAppAbout = 57664,
        kChannelInformation = 32787,
        kPowerAdjust = 32781,
        kParameterAdjust = 32779,
        kRead = 32773,
        kWrite = 32774,
        kComSetup = 32777,
        kLanguage = 32799,
    };

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    QMdiArea* MdiArea() const { return m_pMdiArea; }
    // Places a document window at the top left of the client area.
    void AddChild(CChildFrame* child);
    // The active document window, also while it is hidden; null when there is none.
    CChildFrame* ActiveChild() const;
    QList<CChildFrame*> Children() const;
    // Keeps a document window inside the area, so every part of its grid can be scrolled to.
    void FitChildToArea(QMdiSubWindow* child);

    QAction* FindCommand(int id) const;
    QMenu* MenuOf(int id) const;
    bool RemoveCommand(int id);

signals:
    // Served by the application.
    void FileNewRequested();
    void FileOpenRequested();
    void AboutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenu* AddMenu(const QString& title);
    QAction* AddCommand(QMenu* menu, int id, const QString& text, const QKeySequence& shortcut = {});
    void OnCommand(int id);
    void OnChildActivated();
    void UpdateCommands();

    QMdiArea* m_pMdiArea;
    QPointer<QMdiSubWindow> m_pActiveChild; // cast on use: it may be on its way out

    QList<QAction*> m_DocumentCommands; // need a document window
};
