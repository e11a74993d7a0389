#include "print/ReportPrinter.h"

#include "config/FileKind.h"
#include "widgets/DialogHelp.h"
#include "widgets/HelpLayer.h"
#include "config/WrittenNotes.h"
#include "widgets/MessageBox.h"
#include "config/Language.h"
#include "image/ProgramDoc.h"
#include "print/PrintReport.h"
#include "print/ReportPainter.h"
#include "print/ReportPdf.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTime>

CReportPrinter::PathHook CReportPrinter::s_PathHook;

namespace {

// Draws the pages the printer was asked for; every page when no range was chosen. False when the
// printer could not be started or refused a page.
bool paintJob(QPrinter& printer, const CPrintReport& report)
{
    int first = 1;
    int last = report.PageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage();
        last = printer.toPage() > 0 ? printer.toPage() : last;
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const bool painted = CReportPainter::PaintPages(painter, printer, report, first, last);
    return painter.end() && painted;
}

} // namespace

CReportPrinter::CReportPrinter(QObject* parent)
    : QObject(parent)
    , m_pPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
}

CReportPrinter::~CReportPrinter() = default;

void CReportPrinter::SetPathHook(PathHook hook)
{
    s_PathHook = std::move(hook);
}

CPrintReport CReportPrinter::ReportOf(const Source& view)
{
    const QString owner = CPrintReport::CopyrightOwner(*view.ini, CLanguage::Name());
    return CPrintReport(*view.cells, view.document->m_Image, owner, CLanguage::IsChinese());
}

void CReportPrinter::Print(QWidget* parent, const Source& view)
{
    const CPrintReport report = ReportOf(view);
    m_pPrinter->setFromTo(0, 0);
    QPrintDialog dialog(m_pPrinter.get(), parent);
    dialog.setMinMax(1, report.PageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The grid may have changed while the dialog was open.
    if (!paintJob(*m_pPrinter, ReportOf(view)))
        CMessageBox::Show(
            parent, tr("The report could not be printed on %1.").arg(m_pPrinter->printerName()));
}

QPrintPreviewDialog* CReportPrinter::CreatePreview(QWidget* parent, const Source& view)
{
    auto* dialog = new QPrintPreviewDialog(m_pPrinter.get(), parent);
    dialog->setWindowTitle(tr("Print Preview"));
    CDialogHelp::Attach(dialog, CHelpLayer::kPrintingTopic);
    connect(dialog, &QPrintPreviewDialog::paintRequested, dialog, [view](QPrinter* printer) {
        const CPrintReport report = ReportOf(view);
        QPainter painter;
        if (painter.begin(printer)) {
            CReportPainter::PaintPages(painter, *printer, report, 1, report.PageCount());
            painter.end();
        }
    });
    return dialog;
}

void CReportPrinter::Preview(QWidget* parent, const Source& view)
{
    std::unique_ptr<QPrintPreviewDialog> dialog(CreatePreview(parent, view));
    // The preview shows every page whatever range the last print job used.
    m_pPrinter->setPrintRange(QPrinter::AllPages);
    dialog->exec();
}

void CReportPrinter::PageSetup(QWidget* parent)
{
    QPageSetupDialog dialog(m_pPrinter.get(), parent);
    dialog.exec();
}

QString CReportPrinter::ExportPdf(QWidget* parent, const Source& view)
{
    // The document's own name with the report's extension, beside the document when it has a file.
    const CProgramDoc* document = view.document;
    const QFileInfo name(document->PathName().isEmpty() ? document->ProposedFileName() : document->PathName());
    const QString base = name.completeBaseName() + QStringLiteral(".pdf");
    const QString proposed = document->PathName().isEmpty() ? base : name.dir().filePath(base);
    QString path = s_PathHook
        ? s_PathHook(parent, proposed)
        : QFileDialog::getSaveFileName(parent, tr("Export PDF"), proposed, tr("PDF Files (*.pdf)"));
    if (path.isEmpty())
        return {};
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    // The report never replaces the document's own data file.
    if (FileKind::SameFile(path, document->PathName())) {
        CMessageBox::Show(parent, tr("%1 is the document's data file; the report is not written over it.").arg(path));
        return {};
    }
    QString error;
    const CPrintReport report = ReportOf(view);
    // The paper and margins of Print Setup, so the file matches the preview.
    if (!CReportPdf::Write(path, report, &error, m_pPrinter->pageLayout())) {
        CMessageBox::Show(parent, error);
        return {};
    }
    return WrittenNotes::ReportExported(report.PageCount(), path, QTime::currentTime(), CLanguage::IsChinese());
}
