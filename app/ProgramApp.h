#pragma once

#include "config/IniFile.h"

#include <QObject>
#include <QStringList>
#include <QTranslator>

#include <memory>

class CChildFrame;
class CMainFrame;
class CProgramDoc;

// The application: the start-up sequence (configuration, language, main frame, first document) and
// the commands that make documents: New and Open. It lives for the whole run.
class CProgramApp : public QObject {
    Q_OBJECT

public:
    CProgramApp();
    ~CProgramApp() override;

    // Runs the start-up; false means the program ends (the reason has been shown where there is one).
    // arguments: the command line without the program name; a first argument names a file to open.
    bool InitInstance(const QStringList& arguments);

    CIniFile& Ini() { return m_Ini; }
    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }

    // File > New: with a document open, "All data will be Cleared!" first, then its window goes.
    void OnFileNew();
    // File > Open: asks for a file and opens it.
    void OnFileOpen();
    // Opens path in a new window that replaces the active one; null when the file was refused or the
    // user cancelled the save question of the window being replaced.
    CChildFrame* OpenDocumentFile(const QString& path, bool backup = false);
    // File > Open Backup...: the kept reads, newest first; the chosen one opens without a file name.
    void OnFileOpenBackup();
    void OnProgrammingLog();
    void OnAppAbout();

private:
    bool LoadLanguageFile();
    CChildFrame* NewDocumentWindow();
    CChildFrame* CreateWindowFor(std::unique_ptr<CProgramDoc> document);
    void AdjustMenus();

    CIniFile m_Ini;
    QTranslator m_QtTranslator; // Qt's own dialogs in Chinese, where the system has them
    QTranslator m_Translator;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};
