#pragma once

#include <QMainWindow>
#include <QPointer>

class CChildFrame;
class CEditMenu;
class COptionalFeaturesDlg;
class CProductInfoDlg;
class CFrameBars;
class CFrameClose;
class CMDIClientWnd;
class CReportPrinter;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

// The program's one top-level window: menu bar, toolbar, status bar, the control bar at the left and
// the area that holds the document windows. It owns no document work itself: each command goes to the application (New, Open, About), to the
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
        kFilePrintSetup = 57606,
        kFilePrint = 57607,
        kFilePrintPreview = 57609,
        kFileExportPdf = 32800,
        kFileOpenBackup = 32845,
        kAppExit = 57665,
        kAppAbout = 57664,
        kNextPane = 57680,
        kPrevPane = 57681,
        kViewToolbar = 59392,
        kViewStatusBar = 59393,
        kViewControlBar = 32780,
        kProductInformation = 32786,
        kChannelInformation = 32787,
        kOptionalFeatures = 32788,
        kPowerAdjust = 32781,
        kParameterAdjust = 32779,
        kRead = 32773,
        kWrite = 32774,
        kComSetup = 32777,
        kLanguage = 32799,
        kFileImportCsv = 32850,
        kFileExportCsv = 32851,
        kCompareRadio = 32852,
        kProgrammingLog = 32860,
        kHelpTopics = 57667,
        kOpenDataFolder = 32870,
    };

    // company: the configured company text, caption of the control bar and root of its tree.
    explicit CMainFrame(const QString& company = QString(), QWidget* parent = nullptr);
    ~CMainFrame() override;

    QMdiArea* MdiArea() const;
    CFrameBars* Bars() const { return m_pBars; }
    CFrameClose* Closer() const { return m_pClose; }
    CReportPrinter* ReportPrinter() const { return m_pReportPrinter; }
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

    // The status bar says what a finished command did until the next command starts.
    void ShowDone(const QString& text);
    // A note on the document (a band the configuration lacks), shown before the last command's text.
    void ShowBandNote(const QString& note);

    // The settings dialogs the Edit menu opens; they live as long as the frame.
    CProductInfoDlg* ProductInfoDlg() const { return m_pProductInfoDlg; }
    COptionalFeaturesDlg* OptionalFeaturesDlg() const { return m_pOptionalFeaturesDlg; }

signals:
    // Served by the application.
    void FileNewRequested();
    void FileOpenRequested();
    void FileOpenBackupRequested();
    void ProgrammingLogRequested();
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
    void FocusNextPane(bool forward);
    // F1: the topic of the toolbar button under the pointer or of the control with the keyboard
    // focus, else the contents.
    void OnContextHelp();

    CMDIClientWnd* m_pMdiArea;
    CFrameBars* m_pBars = nullptr;
    CFrameClose* m_pClose = nullptr; // the way out while transfers run, and the stop signals
    CReportPrinter* m_pReportPrinter; // the printer and its page setup, kept for the whole run
    QPointer<QMdiSubWindow> m_pActiveChild; // cast on use: it may be on its way out

    QList<QAction*> m_DocumentCommands; // need a document window
    CProductInfoDlg* m_pProductInfoDlg;
    COptionalFeaturesDlg* m_pOptionalFeaturesDlg;
    CEditMenu* m_pEditMenu = nullptr; // Undo, Redo and the whole-channel commands
    QList<QMenu*> m_DocumentMenus; // shown only while a document is open
};
