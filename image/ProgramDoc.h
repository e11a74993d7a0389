#pragma once

#include "image/DataFile.h"
#include "image/RadioImage.h"
#include "image/TableOrigin.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUndoStack>

class CIniFile;
#include <QWidget>

#include <functional>

// A document: one radio image with its data file. It is new (filled from "Default.dat" or the built-in
// defaults) or opened from a file, and the channel view that shows it keeps its own working copy of
// the channels, which the document asks for before every save.
class CProgramDoc : public QObject {
    Q_OBJECT

public:
    explicit CProgramDoc(const CIniFile& ini, QObject* parent = nullptr);
    ~CProgramDoc() override;

    // Process-wide: set by a new document, cleared by opening a file and by a successful read from the
    // radio. While it is set, the view takes the product type and band from the per-user settings.
    static bool IsNewDocument();
    static void SetNewDocument(bool isNew);
    // Process-wide: tells the programming log's own files, which no document is ever saved over. The
    // application sets it at start-up; the log lives in a room above the document.
    static void SetLogFileTest(std::function<bool(const QString&)> isLogFile);

    // Fills the image of a new document; always succeeds.
    bool OnNewDocument();
    // Whether the last OnNewDocument took the built-in defaults (no "Default.dat" beside the program).
    bool IsBuiltInImage() const { return m_bBuiltInImage; }
    // Loads path; on failure tells the user why and leaves the image untouched.
    bool OnOpenDocument(const QString& path);
    // Loads a kept backup as a document without a file: its first Save asks for a name, so the
    // backup itself is never overwritten.
    bool OnOpenBackup(const QString& path);
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
    // Marks the document changed or not; false also makes the present state the saved one of the
    // undo history. Changes of the image should go through ChangeImage or RecordChange instead.
    void SetModifiedFlag(bool modified = true);

    // Undo history: every change of the image is one step holding the whole image before and after.
    // The modified mark follows it: back at the saved state, the document is unchanged again.
    QUndoStack* UndoStack() { return &m_UndoStack; }
    // Replaces the image with after as one undoable step named text (an import, a channel command);
    // the view shows the new image. An edit still open in the grid is committed first, as its own
    // step, so after should be made from the image once that is done. Nothing is recorded when after
    // equals the image.
    void ChangeImage(const CRadioImage& after, const QString& text);
    // Records a change already made to m_Image in place (before: the image as it was) as one step.
    void RecordChange(const CRadioImage& before, const QString& text);
    // After a read from the radio: one undo step; the radio's channels are in no file yet, so the
    // document counts as modified.
    void RecordRead(const CRadioImage& before, const QString& text);
    // Where the power and alignment tables of the image came from (new, file, radio read).
    const CTableOrigin& TableOrigin() const { return m_TableOrigin; }
    // A service dialog read one table from the radio; image holds it (the dialog's copy will do).
    void RecordTableRead(const CRadioImage& image, CTableOrigin::Tables table)
    {
        m_TableOrigin.AddRead(image, QDateTime::currentDateTime(), table);
    }
    // Edit > Undo and Redo: an edit still open in the grid is committed first, so it is the step undone.
    void Undo();
    void Redo();
    // Used by the undo steps: puts image in place and has the view show it.
    void RestoreImage(const CRadioImage& image);

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
    // The image was replaced as a whole (undo, redo, ChangeImage): the view shows it anew.
    void ImageReplaced();
    void ModifiedChanged(bool modified);
    // Save or Save As wrote the document to path, every byte on the disk.
    void Saved(const QString& path);

private:
    void ReportSaveLoadException(const DataFile::Result& result, const QString& path);
    // Before a save over the document's own file: true when the file still holds what this document
    // last read or wrote, or when the user chose to overwrite what another program put there.
    bool MayOverwrite(const QString& path);
    void SetPathName(const QString& path);

    const CIniFile& m_Ini;
    QString m_strTitle;
    QString m_strPathName;
    QString m_strAppName; // [Setup] AppName: the name a new document proposes for its file
    QByteArray m_DiskBytes; // the file's bytes as this document last read or wrote them
    bool m_bModified = false;
    bool m_bBuiltInImage = false;
    QUndoStack m_UndoStack;
    QPointer<QWidget> m_pWindow;
    CTableOrigin m_TableOrigin;

    static bool s_bNewDocument;
    static std::function<bool(const QString&)> s_IsLogFile;
};
