#include "image/ProgramDoc.h"

#include "config/AppPaths.h"
#include "config/FileKind.h"
#include "config/FileLock.h"
#include "config/FileName.h"
#include "widgets/FilePrompt.h"
#include "config/IniFile.h"
#include "config/Language.h"
#include "config/SafeFile.h"
#include "widgets/MessageBox.h"
#include "image/ImageChange.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>

bool CProgramDoc::s_bNewDocument = false;
std::function<bool(const QString&)> CProgramDoc::s_IsLogFile;

namespace {
constexpr CBilingual kNewTitle { "Channel Information", "信道信息" };
constexpr CBilingual kAskToSave { "Save changes to %1?", "是否保存对 %1 的更改?" };
constexpr CBilingual kSaveOverLog { "%1 is a file of the programming log; the document is not saved over it.",
    "%1 是编程日志的文件; 文档未保存到该文件。" };
constexpr CBilingual kChangedOnDisk {
    "%1 has been changed by another program since it was opened or last saved here.\n\n"
    "Overwrite those changes with this document?",
    "%1 在此打开或上次保存之后已被其他程序更改。\n\n是否用本文档覆盖这些更改?"
};
}

CProgramDoc::CProgramDoc(const CIniFile& ini, QObject* parent)
    : QObject(parent)
    , m_Ini(ini)
{
    connect(&m_UndoStack, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (m_bModified != !clean) {
            m_bModified = !clean;
            emit ModifiedChanged(m_bModified);
        }
    });
}

// The history goes last and says nothing on its way: the windows listening may be gone already.
CProgramDoc::~CProgramDoc()
{
    disconnect(&m_UndoStack, nullptr, this, nullptr);
    m_UndoStack.blockSignals(true);
}

void CProgramDoc::SetLogFileTest(std::function<bool(const QString&)> isLogFile)
{
    s_IsLogFile = std::move(isLogFile);
}

bool CProgramDoc::IsNewDocument()
{
    return s_bNewDocument;
}

void CProgramDoc::SetNewDocument(bool isNew)
{
    s_bNewDocument = isNew;
}

bool CProgramDoc::OnNewDocument()
{
    m_Image = DataFile::NewImage(CAppPaths::ExecutableDir(), &m_bBuiltInImage);
    SetTitle(kNewTitle.Text());
    // A new document has no file yet: its first Save always asks for one, offering this name.
    m_strAppName = m_Ini.GetValue(QStringLiteral("Setup"), QStringLiteral("AppName"));
    m_strPathName.clear();
    m_DiskBytes.clear();
    m_UndoStack.clear();
    m_TableOrigin.Reset(CTableOrigin::Kind::NeverRead, m_Image);
    SetModifiedFlag(false);
    SetNewDocument(true);
    return true;
}

bool CProgramDoc::OnOpenDocument(const QString& path)
{
    CRadioImage image;
    QByteArray bytes;
    qint64 size = -1;
    const QString reason = SafeFile::Read(path, DataFile::kFileSize, bytes, &size);
    DataFile::Result result
        = reason.isEmpty() ? DataFile::Parse(bytes, image) : DataFile::Result { DataFile::Status::OpenFailed, reason };
    result.size = size; // Data Format Error tells it, for a name QFileInfo cannot find too
    if (!result.ok()) {
        ReportSaveLoadException(result, path);
        return false;
    }
    m_Image = image;
    m_TableOrigin.Reset(CTableOrigin::Kind::File, image, QFileInfo(path).fileName());
    m_DiskBytes = bytes;
    SetPathName(path);
    m_UndoStack.clear();
    SetModifiedFlag(false);
    SetNewDocument(false);
    return true;
}

bool CProgramDoc::OnOpenBackup(const QString& path)
{
    if (!OnOpenDocument(path))
        return false;
    m_strPathName.clear();
    m_DiskBytes.clear();
    SetTitle(QFileInfo(path).completeBaseName());
    return true;
}

bool CProgramDoc::OnSaveDocument(const QString& path)
{
    emit CommitEdits();
    emit StoreGrid();
    // The record of every transfer is never replaced by a data file.
    if (s_IsLogFile && s_IsLogFile(path)) {
        CMessageBox::Show(m_pWindow, kSaveOverLog.Text().arg(FileName::Display(path)), QMessageBox::Ok,
            QMessageBox::Warning);
        return false;
    }
    // program-cli set may be changing the same file: the two saves take turns.
    CFileLock lock(path);
    if (!lock.Lock()) {
        CMessageBox::Show(m_pWindow, lock.Error(), QMessageBox::Ok, QMessageBox::Warning);
        return false;
    }
    if (!MayOverwrite(path))
        return false;
    const DataFile::Result result = DataFile::Save(path, m_Image);
    if (!result.ok()) {
        ReportSaveLoadException(result, path);
        return false;
    }
    m_DiskBytes = DataFile::Serialize(m_Image);
    SetModifiedFlag(false);
    emit Saved(path);
    return true;
}

bool CProgramDoc::MayOverwrite(const QString& path)
{
    const bool ownFile = !m_strPathName.isEmpty()
        && (QFileInfo(path).absoluteFilePath() == m_strPathName || FileKind::SameFile(path, m_strPathName));
    if (!ownFile || m_DiskBytes.isEmpty())
        return true; // Save As elsewhere: the file dialog has asked about an existing file
    // Only a file that is there to read can hold a change that a save would undo.
    QByteArray now;
    if (!SafeFile::Read(path, DataFile::kFileSize, now).isEmpty() || now == m_DiskBytes)
        return true;
    // Enter keeps the other program's change: overwriting it takes a deliberate Yes.
    return CMessageBox::Ask(m_pWindow, kChangedOnDisk.Text().arg(QFileInfo(path).fileName()),
               QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Cancel, QMessageBox::Warning)
        == QMessageBox::Yes;
}

bool CProgramDoc::DoFileSave()
{
    if (m_strPathName.isEmpty())
        return DoSaveAs();
    return OnSaveDocument(m_strPathName);
}

bool CProgramDoc::DoSaveAs()
{
    const QString proposed = m_strPathName.isEmpty() ? ProposedFileName() : m_strPathName;
    const QString path = CFilePrompt::SaveFileName(m_pWindow, proposed);
    if (path.isEmpty() || !OnSaveDocument(path))
        return false;
    SetPathName(path);
    return true;
}

bool CProgramDoc::SaveModified()
{
    emit CommitEdits(); // an edit still open in the grid counts as made
    if (!m_bModified)
        return true;
    const QString name = m_strPathName.isEmpty() ? m_strTitle : QFileInfo(m_strPathName).fileName();
    switch (CMessageBox::Show(m_pWindow, kAskToSave.Text().arg(name),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Question)) {
    case QMessageBox::Save:
        return DoFileSave();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void CProgramDoc::SetTitle(const QString& title)
{
    m_strTitle = title;
    emit TitleChanged(title);
}

QString CProgramDoc::ProposedFileName() const
{
    QString name = m_strAppName.isEmpty() ? m_strTitle : m_strAppName;
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    return name + QStringLiteral(".dat");
}

void CProgramDoc::ChangeImage(const CRadioImage& after, const QString& text)
{
    emit CommitEdits(); // a value still in its editor is a step of its own, before this one
    if (after == m_Image)
        return;
    m_UndoStack.push(new CImageChange(this, m_Image, after, text, false));
}

void CProgramDoc::RecordChange(const CRadioImage& before, const QString& text)
{
    if (before == m_Image)
        return;
    m_UndoStack.push(new CImageChange(this, before, m_Image, text, true));
}

void CProgramDoc::RecordRead(const CRadioImage& before, const QString& text)
{
    // One undo step like any other: the channels are the radio's now and in no file yet, so the
    // document counts as modified and closing asks to save it.
    m_TableOrigin.AddRead(m_Image, QDateTime::currentDateTime());
    RecordChange(before, text);
}

void CProgramDoc::Undo()
{
    emit CommitEdits();
    m_UndoStack.undo();
}

void CProgramDoc::Redo()
{
    emit CommitEdits();
    m_UndoStack.redo();
}

void CProgramDoc::RestoreImage(const CRadioImage& image)
{
    m_Image = image;
    emit ImageReplaced();
}

void CProgramDoc::SetModifiedFlag(bool modified)
{
    if (!modified)
        m_UndoStack.setClean();
    if (m_bModified == modified)
        return;
    m_bModified = modified;
    emit ModifiedChanged(modified);
}

void CProgramDoc::SetPathName(const QString& path)
{
    m_strPathName = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
}

// Every failure is said: a foreign file as "Data Format Error", everything else with the file's name
// and the reason.
void CProgramDoc::ReportSaveLoadException(const DataFile::Result& result, const QString& path)
{
    CMessageBox::Show(m_pWindow, DataFile::Describe(result, path), QMessageBox::Ok, QMessageBox::Warning);
}
