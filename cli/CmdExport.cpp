#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "config/FileName.h"
#include "config/Language.h"
#include "config/SafeFile.h"
#include "csv/ChannelCsv.h"
#include "radio/ChannelCodec.h"
#include "image/DataFile.h"

namespace {

constexpr CBilingual kExportSummary { "Exported %1 channel(s) of %2 to %3", "已把 %2 的 %1 个信道导出到 %3" };
constexpr CBilingual kStandardOutput { "standard output", "标准输出" };
constexpr CBilingual kStdoutFailed { "The channel list could not be written to standard output.",
    "信道表无法写入标准输出。" };
// -o - sends the list to stdout, for a script to read.
const QString kToStdout = QStringLiteral("-");

int exportedChannels(const CRadioImage &image)
{
    int count = 0;
    for (int channel = 1; channel <= ImageMap::kChannelCount; ++channel)
        count += ChannelCodec::IsEmptyChannel(image, channel) ? 0 : 1;
    return count;
}

} // namespace

// Writes the programmed channels of a data file as a channel CSV, to a file or (-o -) to stdout.
// Channels with tones outside the standard list are written as they are, each named on stderr.
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

    const bool toStdout = out == kToStdout;
    if (!toStdout && (context.OutputIsInput(out, path) || context.OutputIsLog(out)))
        return CCliContext::kFailed;

    CRadioImage image;
    const DataFile::Result loaded = DataFile::Load(path, image);
    if (!loaded.ok())
        return context.Fail(DataFile::Describe(loaded, path));

    const bool zh = context.IsChinese();
    const QByteArray csv = ChannelCsv::Export(image);
    if (toStdout) {
        QTextStream &stream = context.Out();
        stream << QString::fromUtf8(csv) << Qt::flush;
        // A full disk or a closed pipe behind stdout is no export.
        if (stream.status() != QTextStream::Ok)
            return context.Fail(kStdoutFailed.Text(zh));
    } else if (const QString reason = SafeFile::Write(out, csv); !reason.isEmpty()) {
        // As every save: a failed write leaves whatever file was there as it was.
        return context.Fail(DataFile::Describe({ DataFile::Status::WriteFailed, reason }, out));
    }
    for (const QString &warning : ChannelCsv::ExportWarnings(image, zh))
        context.Err() << warning << '\n';
    context.Err().flush();
    const QString target = toStdout ? kStandardOutput.Text(zh) : FileName::Display(out);
    context.Summary(kExportSummary.Text(zh).arg(exportedChannels(image)).arg(FileName::Display(path), target), toStdout);
    return CCliContext::kDone;
}
