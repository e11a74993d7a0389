#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "config/FileName.h"
#include "config/Language.h"
#include "radio/ChannelGrid.h"
#include "image/DataFile.h"
#include "print/PrintReport.h"
#include "print/ReportPdf.h"

#include <QGuiApplication>

namespace {

constexpr CBilingual kWritten { "Printed %1 into %2: %3 pages", "已把 %1 打印到 %2: %3 页" };
constexpr CBilingual kNoGui { "Printing needs the graphics library, which this run did not start",
    "打印需要图形库, 本次运行未启动" };

} // namespace

// The printed report of a data file as a PDF: the options page, then the channels eight to a page.
int RunPrint(CCliContext& context, const QStringList& args)
{
    QString path;
    QString output;
    QString languageName = CLanguage::Name();
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--lang")) {
            if (!context.TakeLanguage(args.value(++i)))
                return context.UsageError(QStringLiteral("--lang takes english or chinese"));
            languageName = context.IsChinese() ? QStringLiteral("Chinese") : QStringLiteral("English");
        } else if (arg == QLatin1String("-o")) {
            if (i + 1 >= args.size())
                return context.UsageError(QStringLiteral("-o needs a file name"));
            output = args.at(++i);
        } else if (path.isEmpty() && !arg.startsWith(QLatin1Char('-'))) {
            path = arg;
        } else {
            return context.UsageError(QStringLiteral("unexpected argument \"%1\"").arg(arg));
        }
    }
    if (path.isEmpty() || output.isEmpty())
        return context.UsageError(QStringLiteral("print needs a FILE and -o OUT.pdf"));

    const bool zh = context.IsChinese();
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return context.Fail(kNoGui.Text(zh));
    if (context.OutputIsInput(output, path) || context.OutputIsLog(output))
        return CCliContext::kFailed;

    CRadioImage image;
    const DataFile::Result loaded = DataFile::Load(path, image);
    if (!loaded.ok())
        return context.Fail(DataFile::Describe(loaded, path, zh));
    CChannelGrid grid(zh);
    grid.LoadImage(image);
    const CPrintReport report(grid, image, CPrintReport::CopyrightOwner(context.Ini(), languageName), zh);
    QString error;
    if (!CReportPdf::Write(output, report, &error))
        return context.Fail(error);
    // One pass over the text: a "%1" in a file name stays as it is.
    context.Summary(kWritten.Text(zh).arg(
        FileName::Display(path), FileName::Display(output), QString::number(report.PageCount())));
    return CCliContext::kDone;
}
