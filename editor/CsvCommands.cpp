#include "editor/CsvCommands.h"

#include "config/FileKind.h"
#include "config/SafeFile.h"
#include "config/WrittenNotes.h"
#include "widgets/FilePrompt.h"
#include "widgets/MessageBox.h"
#include "widgets/ModalDialog.h"
#include "csv/ChannelCsv.h"
#include "csv/ImportLocationDlg.h"
#include "csv/ImportReportDlg.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTime>

namespace CsvCommands {
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

void Import(CProgramView& view)
{
    const QString path = CFilePrompt::OpenCsvName(&view);
    if (path.isEmpty())
        return;
    // A FIFO or a folder is refused at once instead of waiting for ever; a name that is not UTF-8 is found.
    QByteArray bytes;
    if (const QString reason = SafeFile::Read(path, kMaxCsvBytes + 1, bytes); !reason.isEmpty()) {
        CMessageBox::Show(&view, tr("%1 cannot be opened: %2").arg(path, reason));
        return;
    }
    if (bytes.size() > kMaxCsvBytes) {
        CMessageBox::Show(&view, tr("%1 is too large to be a channel list.").arg(path));
        return;
    }

    const bool chinese = view.Cells().IsChinese();
    CRadioImage image = currentImage(view);
    const BandLimits limits { view.m_nLowerLimit, view.m_nUpperLimit };
    const auto planFrom = [&](int firstLocation) { return ChannelCsv::Plan(bytes, image, limits, chinese, firstLocation); };

    // A list longer than the radio: the user picks which 16 Locations to take before anything changes,
    // seeing the channels as they will be stored and the rows that will be refused.
    int first = ChannelCsv::kFileFirstLocation;
    bool previewed = false;
    if (const ChannelCsv::Locations locations = ChannelCsv::ListLocations(bytes); locations.BeyondChannels()) {
        QStringList columns;
        for (int col = 1; col < CChannelGrid::kCols; ++col)
            columns << view.Cells().Text(0, col);
        CImportLocationDlg choice(locations, planFrom, columns, &view);
        if (ModalDialog::Exec(choice) != QDialog::Accepted)
            return;
        first = choice.FirstLocation();
        previewed = true;
    }

    const ChannelCsv::ImportPlan plan = planFrom(first);
    // The preview has shown the refused rows already; Import there took the others.
    if (!plan.IsClean() && !previewed) {
        CImportReportDlg report(plan, chinese, &view);
        if (ModalDialog::Exec(report) != QDialog::Accepted || plan.fileRefused)
            return;
    }
    const int imported = ChannelCsv::Apply(plan, image, chinese);
    if (imported == 0) {
        if (plan.refusals.empty())
            CMessageBox::Show(&view, tr("%1 holds no channel rows.").arg(path), QMessageBox::Ok, QMessageBox::Information);
        return;
    }
    // One undo step; the view shows the new image when the document says it was replaced.
    const int applied = static_cast<int>(plan.rows.size());
    view.GetDocument()->ChangeImage(image, tr("Import CSV"));
    emit view.WorkDone(imported == 1 ? tr("Imported 1 channel") : tr("Imported %1 channels").arg(imported));
    // Rows the preview marked as refused are named again, so the user knows what is missing.
    const std::size_t refused = previewed ? plan.refusals.size() : 0;
    if (plan.leftOut == 0 && plan.notes.empty() && refused == 0)
        return;
    QStringList lines { plan.leftOut == 0
            ? tr("Imported %1 channel(s).").arg(applied)
            : tr("Imported %1 channel(s), %2.").arg(applied).arg(ChannelCsv::LeftOutText(plan, chinese)) };
    for (std::size_t i = 0; i < refused; ++i)
        lines << ChannelCsv::Describe(plan.refusals[i], chinese);
    for (const ChannelCsv::Refusal& note : plan.notes)
        lines << ChannelCsv::Describe(note, chinese);
    CMessageBox::Show(&view, lines.join(QLatin1Char('\n')), QMessageBox::Ok, QMessageBox::Information);
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
    // The list never replaces the document's own data file.
    if (FileKind::SameFile(path, document->PathName())) {
        CMessageBox::Show(&view, tr("%1 is the document's data file; the list is not written over it.").arg(path));
        return;
    }
    // As every save: a failed write leaves whatever file was there as it was.
    const CRadioImage image = currentImage(view);
    const QByteArray list = ChannelCsv::Export(image);
    const QString reason = SafeFile::Write(path, list);
    if (!reason.isEmpty()) {
        CMessageBox::Show(&view, tr("%1 cannot be written: %2").arg(path, reason));
        return;
    }
    // A line a channel after the header; the list holds no text that could break a line.
    emit view.WorkDone(WrittenNotes::ChannelsExported(
        int(list.count('\n')) - 1, path, QTime::currentTime(), view.Cells().IsChinese()));
    // Written as they are, but the user should know before handing the list on.
    const QStringList warnings = ChannelCsv::ExportWarnings(image, view.Cells().IsChinese());
    if (!warnings.isEmpty())
        CMessageBox::Show(&view, tr("%1 was written.").arg(path) + QLatin1Char('\n') + warnings.join(QLatin1Char('\n')),
            QMessageBox::Ok, QMessageBox::Information);
}

} // namespace CsvCommands
