#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "config/SafeFile.h"
#include "csv/ChannelCsv.h"
#include "image/DataFile.h"


// Writes the programmed channels of a data file as a channel CSV. Channels with tones outside the
// standard list are written as they are, each named on stderr.
int RunExport(CCliContext &context, const QStringList &args)
{
    QString path, out;
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("-o") && i + 1 < args.size()) {
            out = args.at(++i);
        } else if (args.at(i) == QLatin1String("--lang")) {
            if (!context.TakeLanguage(args.value(++i)))
                return context.UsageError(QStringLiteral("--lang takes english or chinese"));
        } else if (path.isEmpty() && !args.at(i).startsWith(QLatin1Char('-'))) {
            path = args.at(i);
        } else {
            return context.UsageError(QStringLiteral("unexpected argument \"%1\"").arg(args.at(i)));
        }
    }
    if (path.isEmpty() || out.isEmpty())
        return context.UsageError(QStringLiteral("export needs FILE -o OUT.csv"));

    if (context.OutputIsInput(out, path) || context.OutputIsLog(out))
        return CCliContext::kFailed;

    CRadioImage image;
    const DataFile::Result loaded = DataFile::Load(path, image);
    if (!loaded.ok())
        return context.Fail(DataFile::Describe(loaded, path));

    // As every save: a failed write leaves whatever file was there as it was.
    const QString reason = SafeFile::Write(out, ChannelCsv::Export(image));
    if (!reason.isEmpty())
        return context.Fail(DataFile::Describe({ DataFile::Status::WriteFailed, reason }, out));
    for (const QString &warning : ChannelCsv::ExportWarnings(image, context.IsChinese()))
        context.Err() << warning << '\n';
    context.Err().flush();
    return CCliContext::kDone;
}
