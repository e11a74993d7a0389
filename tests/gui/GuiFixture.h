#pragma once

#include "widgets/FilePrompt.h"
#include "widgets/MessageBox.h"

#include <QDialog>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>
#include <memory>

class CChildFrame;
class CMainFrame;
class CMSFlexGrid;
class CProgramApp;
class CProgramDoc;
class CProgramView;

// The program on a private copy of its executable directory (Program.ini, language files, help
// pages) and a private per-user settings folder. Message boxes, file dialogs, help and process starts
// are answered and recorded instead of shown.
class CGuiFixture {
public:
    struct Shown {
        QString text;
        QString caption;
        QMessageBox::StandardButtons buttons;
    };

    explicit CGuiFixture(const QString& language = QStringLiteral("English"));
    ~CGuiFixture();

    QString BinPath(const QString& name) const;
    QString DataPath(const QString& name) const; // a scratch folder for data files
    QString BackupFolder() const; // where this run keeps its reads
    void SetIni(const QString& section, const QString& key, const QString& value);
    QString IniOnDisk(const QString& section, const QString& key) const;
    void SetUserTypeAndField(quint32 type, quint32 field);

    bool Start(const QStringList& arguments = {});
    CProgramApp& App() { return *m_App; }
    CMainFrame* Frame() const;
    void Run(int command); // a main frame command, as chosen from its menu
    CChildFrame* Child() const;
    CProgramView* View() const;
    CMSFlexGrid* Grid() const;
    CProgramDoc* Doc() const;

    // The user's hands on the grid.
    void ClickCell(
        int row, int col, Qt::KeyboardModifiers modifiers = {}, Qt::MouseButton button = Qt::LeftButton);
    static void ClickCell(CMSFlexGrid* grid, int row, int col, Qt::KeyboardModifiers modifiers = {},
        Qt::MouseButton button = Qt::LeftButton);
    void Type(const QString& text); // into the editor open over the current cell
    void PressEnter();
    void ChooseItem(const QString& item); // with the mouse, in the drop-down list open over the cell
    QStringList RowTexts(int row) const;
    QWidget* VisibleEditor() const;

    // What was shown and what it is answered with (Ok, or the first offered button, when none is queued).
    QList<Shown> messages;
    QStringList MessageTexts() const;
    QList<QMessageBox::StandardButton> answers;
    QList<CFilePrompt::Request> filePrompts;
    QStringList fileAnswers;
    QStringList started; // program and arguments, joined by blanks
    QList<int> helpTopics;
    // Addresses handed to the desktop (Open Data Folder), and whether the desktop takes them.
    QList<QUrl> openedUrls;
    bool urlsOpen = true;
    // Modal dialogs: their titles as they opened, and what runs them (rejected when unset).
    QStringList dialogs;
    std::function<int(QDialog&)> onDialog;

private:
    QTemporaryDir m_Bin;
    QTemporaryDir m_Data;
    QTemporaryDir m_Settings;
    QByteArray m_OldConfigHome;
    std::unique_ptr<CProgramApp> m_App;
};
