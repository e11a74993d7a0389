#pragma once

#include "image/DataFile.h"
#include "image/RadioImage.h"

#include <QObject>
#include <QPointer>
#include <QString>

class CIniFile;
class QWidget;

// A document: one radio image with its data file. It is new (filled from "Default.dat" or the built-in
// defaults) or opened from a file, and the channel view that shows it keeps its own working copy of
// the channels, which the document asks for before every save.
class CProgramDoc : public QObject {
    Q_OBJECT

public:
    explicit CProgramDoc(const CIniFile& ini, QObject* parent = nullptr);

    // Process-wide: set by a new document, cleared by opening a file and by a successful read from the
    // radio. While it is set, the view takes the product type and band from the per-user settings.
    static bool IsNewDocument();
    static void SetNewDocument(bool isNew);

    // Fills the image of a new document; always succeeds.
    bool OnNewDocument();
    // Loads path; on failure tells the user why and leaves the image untouched.
    bool OnOpenDocument(const QString& path);
    // Commits the view's open editor, stores the grid into the image and writes path atomically; on
    // failure tells the user why.
    bool OnSaveDocument(const QString& path);

    // File > Save: the document's own file, or the Save As dialog when it has none yet.
    bool DoFileSave();
    // File > Save As (also Save without a file): asks for a name, then saves there.
    bool DoSaveAs();
    // Before the document is discarded: when it holds unsaved edits, asks Save, Don't Save or Cancel.
    // False means the user cancelled (or the save failed) and the document must stay.
    bool SaveModified();

    QString Title() const { return m_strTitle; }
    void SetTitle(const QString& title);
    QString PathName() const { return m_strPathName; }
    // The name the Save As dialog offers for a document without a file.
    QString ProposedFileName() const;

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);

    // The window message boxes and file dialogs of this document belong to.
    void SetWindow(QWidget* window) { m_pWindow = window; }
    QWidget* Window() const { return m_pWindow; }

    CRadioImage m_Image;

signals:
    // The view commits the text of an editor still open over a cell.
    void CommitEdits();
    // The view writes its channel grid into m_Image.
    void StoreGrid();
    void TitleChanged(const QString& title);
    void ModifiedChanged(bool modified);

private:
    void ReportSaveLoadException(const DataFile::Result& result, const QString& path);
    void SetPathName(const QString& path);

    const CIniFile& m_Ini;
    QString m_strTitle;
    QString m_strPathName;
    QString m_strAppName; // [Setup] AppName: the name a new document proposes for its file
    bool m_bModified = false;
    QPointer<QWidget> m_pWindow;

    static bool s_bNewDocument;
};
