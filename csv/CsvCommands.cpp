#include "csv/CsvCommands.h"

#include "widgets/FilePrompt.h"
#include "widgets/MessageBox.h"
#include "widgets/ModalDialog.h"
#include "csv/ChannelCsv.h"
#include "csv/ImportReportDlg.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Far more than any channel list; a larger file is not one.
constexpr qint64 kMaxCsvBytes = 4 * 1024 * 1024;

QString tr(const char* text)
{
    return QCoreApplication::translate("CsvCommands", text);
}

// The document's image with the grid as it stands, the editor still open over a cell included. The
// document itself is not touched.
CRadioImage currentImage(CProgramView& view)
{
    view.OnLeaveCell();
    CRadioImage image = view.GetDocument()->m_Image;
    view.Cells().StoreGrid(image);
    return image;
}

} // namespace

namespace CsvCommands {

void Import(CProgramView& view)
{
    const QString path = CFilePrompt::OpenCsvName(&view);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        CMessageBox::Show(&view, tr("%1 cannot be opened: %2").arg(path, file.errorString()));
        return;
    }
    const QByteArray bytes = file.read(kMaxCsvBytes + 1);
    if (bytes.size() > kMaxCsvBytes) {
        CMessageBox::Show(&view, tr("%1 is too large to be a channel list.").arg(path));
        return;
    }

    const bool chinese = view.Cells().IsChinese();
    CRadioImage image = currentImage(view);
    const ChannelCsv::ImportPlan plan =
        ChannelCsv::Plan(bytes, image, { view.m_nLowerLimit, view.m_nUpperLimit }, chinese);
    if (!plan.IsClean()) {
        CImportReportDlg report(plan, chinese, &view);
        if (ModalDialog::Exec(report) != QDialog::Accepted || plan.fileRefused)
            return;
    }
    if (ChannelCsv::Apply(plan, image, chinese) == 0) {
        if (plan.refusals.empty())
            CMessageBox::Show(&view, tr("%1 holds no channel rows.").arg(path), QMessageBox::Ok, QMessageBox::Information);
        return;
    }
    // One undo step; the view shows the new image when the document says it was replaced.
    view.GetDocument()->ChangeImage(image, tr("Import CSV"));
}

void Export(CProgramView& view)
{
    // The document's own name with the list's extension, beside the document when it has a file.
    const CProgramDoc* document = view.GetDocument();
    const QFileInfo name(document->PathName().isEmpty() ? document->ProposedFileName() : document->PathName());
    const QString base = name.completeBaseName() + QStringLiteral(".csv");
    const QString proposed = document->PathName().isEmpty() ? base : name.dir().filePath(base);
    const QString path = CFilePrompt::SaveCsvName(&view, proposed);
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(ChannelCsv::Export(currentImage(view))) < 0 || !file.commit())
        CMessageBox::Show(&view, tr("%1 cannot be written: %2").arg(path, file.errorString()));
}

} // namespace CsvCommands
