#pragma once

#include <QObject>

#include <functional>
#include <memory>

class CChannelGrid;
class CIniFile;
class CPrintReport;
class CProgramDoc;
class QPrintPreviewDialog;
class QPrinter;
class QWidget;

// The File menu's printing commands: Print, Print Preview, Print Setup and Export PDF. It keeps one
// printer for the whole run, so the page setup chosen once holds for every later job. Each job builds
// its report afresh from what the channel view shows at that moment.
class CReportPrinter : public QObject {
    Q_OBJECT

public:
    // Asks for the PDF file name, offering proposed; returns empty when the user cancels. Tests answer
    // through this.
    using PathHook = std::function<QString(QWidget* parent, const QString& proposed)>;

    explicit CReportPrinter(QObject* parent = nullptr);
    ~CReportPrinter() override;

    // What a job prints: the channel view's grid and its document, as the frame hands them over. They
    // must outlive the job (and a preview window).
    struct Source {
        const CChannelGrid* cells = nullptr;
        const CProgramDoc* document = nullptr;
        const CIniFile* ini = nullptr;
    };

    QPrinter& Printer() { return *m_pPrinter; }

    // The report of the view's grid and image in the running language.
    static CPrintReport ReportOf(const Source& view);

    // The platform's print dialog with the page count as its last page, then the chosen pages.
    void Print(QWidget* parent, const Source& view);
    // The preview window, not yet shown; Preview runs it modally.
    QPrintPreviewDialog* CreatePreview(QWidget* parent, const Source& view);
    void Preview(QWidget* parent, const Source& view);
    void PageSetup(QWidget* parent);
    // Asks for a file name, offering the document's own name with ".pdf" beside its data file, and
    // writes the report there; a failure is shown in a message box. Returns what was written where,
    // for the status bar; empty when nothing was.
    QString ExportPdf(QWidget* parent, const Source& view);

    static void SetPathHook(PathHook hook);

private:
    std::unique_ptr<QPrinter> m_pPrinter;
    static PathHook s_PathHook;
};
