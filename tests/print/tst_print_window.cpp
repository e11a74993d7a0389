#include "tests/gui/GuiFixture.h"
#include "tests/print/PdfText.h"
#include "tests/print/TallFace.h"

#include "tests/common/TestFiles.h"

#include "app/MainFrame.h"
#include "config/SafeFile.h"
#include "app/ProgramApp.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"
#include "print/PrintReport.h"
#include "print/ReportPrinter.h"
#include "app/ViewTargets.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QStatusBar>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTest>
#include <QTimer>

#include <cerrno>

// The File menu's printing entries as a user meets them, in both languages.
class TestPrintWindow : public QObject {
    Q_OBJECT

private:
    // Channels 3 and 12 typed into the grid; nothing else has a receive frequency.
    static void TypeChannels(CGuiFixture& f)
    {
        for (const int row : { 3, 12 }) {
            f.ClickCell(row, 1);
            f.Type(QStringLiteral("146.5"));
            f.PressEnter();
        }
    }

private slots:
    // The same over-tall face on every machine: the footer checks below fail if any path prints
    // without fitting the page.
    void initTestCase() { QVERIFY(TallFace::Install()); }
    void cleanup() { CReportPrinter::SetPathHook({}); }

    void menuAndPdf_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("entries"); // Print, Print Preview, Print Setup, Export PDF
        QTest::addColumn<QString>("heading"); // of channel 12
        QTest::addColumn<QString>("owner");

        // clang-format off
        QTest::newRow("English") << "English" << QStringList { "&Print...", "Print Pre&view", "P&rint Setup...", "Export PDF..." }
                                 << "Channel 12:" << "Fieldcom Tools";
        QTest::newRow("Chinese") << "Chinese" << QStringList { "打印(&P)...", "打印预览(&V)", "打印设置(&R)...", "导出 PDF..." }
                                 << "信道12:" << "菲尔德通信工具";
        // clang-format on
    }

    void menuAndPdf()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, entries);
        QFETCH(QString, heading);
        QFETCH(QString, owner);
        if (!PdfText::Available())
            QSKIP("pdftotext and pdfinfo (poppler-utils) are needed to read the PDF back");

        CGuiFixture f(language);
        QVERIFY(f.Start());
        CMainFrame* frame = f.App().MainFrame();
        const int ids[] = { CMainFrame::kFilePrint, CMainFrame::kFilePrintPreview,
            CMainFrame::kFilePrintSetup, CMainFrame::kFileExportPdf };
        for (int i = 0; i < 4; ++i) {
            QAction* action = frame->FindCommand(ids[i]);
            QVERIFY(action);
            QCOMPARE(action->text(), entries[i]);
            QVERIFY(action->isEnabled());
        }
        QCOMPARE(frame->FindCommand(CMainFrame::kFilePrint)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));

        TypeChannels(f);
        // A name without extension gets ".pdf".
        const QString chosen = f.DataPath(QStringLiteral("report"));
        QString proposed;
        CReportPrinter::SetPathHook([&](QWidget*, const QString& offered) {
            proposed = offered;
            return chosen;
        });
        frame->FindCommand(CMainFrame::kFileExportPdf)->trigger();
        QCOMPARE(f.messages.size(), 0);
        const QString pdf = chosen + QStringLiteral(".pdf");
        // The document's name is offered; the status bar says what went where.
        QCOMPARE(proposed, QFileInfo(f.Doc()->ProposedFileName()).completeBaseName() + ".pdf");
        const QString status = frame->statusBar()->currentMessage();
        QVERIFY2(language == "Chinese" ? status.endsWith(QString::fromUtf8(" 已将报表 (2 页) 导出到 ") + pdf)
                                       : status.startsWith("Exported the report (2 pages) to " + pdf + " at "),
            qPrintable(status));
        QCOMPARE(PdfText::PageCount(pdf), 2);
        const QString page2 = PdfText::Page(pdf, 2);
        for (const QString& text : { heading, owner, QStringLiteral("Page 2 of 2"), f.RowTexts(12).value(1) })
            QVERIFY2(page2.contains(text), qPrintable(text + QStringLiteral(":\n") + page2));
        QVERIFY(
            page2.indexOf(heading.left(heading.size() - 3) + QStringLiteral("3:")) < page2.indexOf(heading));

        // Print: the dialog knows the page count before it opens; the job gets every page.
        const QString printed = f.DataPath(QStringLiteral("printed.pdf"));
        QPrinter& printer = frame->ReportPrinter()->Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        QPoint range;
        QTimer::singleShot(0, frame, [&] {
            if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
                range = QPoint(dialog->minPage(), dialog->maxPage());
                dialog->accept();
            }
        });
        frame->FindCommand(CMainFrame::kFilePrint)->trigger();
        QCOMPARE(range, QPoint(1, 2));
        QCOMPARE(PdfText::PageCount(printed), 2);
        QVERIFY(PdfText::Page(printed, 2).contains(heading));

        // A file that cannot be written is a message, not silence.
        CReportPrinter::SetPathHook(
            [&](QWidget*, const QString&) { return f.DataPath(QStringLiteral("no/such/folder/r.pdf")); });
        frame->FindCommand(CMainFrame::kFileExportPdf)->trigger();
        QCOMPARE(f.messages.size(), 1);
        QVERIFY(f.messages.first().text.contains(QStringLiteral("r.pdf")));
        // A disk that fails the save leaves the older report whole and says why.
        const QString older = f.DataPath(QStringLiteral("older.pdf"));
        QVERIFY(TestFiles::Write(older, "older report"));
        CReportPrinter::SetPathHook([&](QWidget*, const QString&) { return older; });
        SafeFile::FailNextWrite(SafeFile::Step::Sync, EIO);
        frame->FindCommand(CMainFrame::kFileExportPdf)->trigger();
        QCOMPARE(f.messages.size(), 2);
        QVERIFY2(f.messages[1].text.contains(older) && f.messages[1].text.contains("Input/output error"),
            qPrintable(f.messages[1].text));
        QCOMPARE(TestFiles::Read(older), QByteArray("older report"));
    }

    // The preview shows the report's pages and follows the grid between two previews.
    void preview_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "English";
        QTest::newRow("Chinese") << "Chinese";
    }

    void preview()
    {
        QFETCH(QString, language);
        CGuiFixture f(language);
        QVERIFY(f.Start());
        CMainFrame* frame = f.App().MainFrame();
        CProgramView* view = f.View();

        std::unique_ptr<QPrintPreviewDialog> empty(frame->ReportPrinter()->CreatePreview(frame, ViewTargets::Report(*view)));
        empty->show();
        auto* pages = empty->findChild<QPrintPreviewWidget*>();
        QVERIFY(pages);
        QTRY_COMPARE(pages->pageCount(), 1);
        empty.reset();

        TypeChannels(f);
        std::unique_ptr<QPrintPreviewDialog> dialog(frame->ReportPrinter()->CreatePreview(frame, ViewTargets::Report(*view)));
        dialog->show();
        pages = dialog->findChild<QPrintPreviewWidget*>();
        QTRY_COMPARE(pages->pageCount(), 2);
    }
};

QTEST_MAIN(TestPrintWindow)
#include "tst_print_window.moc"
