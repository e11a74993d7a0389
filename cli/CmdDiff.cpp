#include "config/Language.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "csv/ImageDiff.h"
#include "image/DataFile.h"

namespace {
constexpr CBilingual kSame { "No differences.", "没有差异。" };
// As diff and cmp do: 0 the same, 1 different, 2 when the files could not be compared at all.
constexpr int kDiffer = 1, kTrouble = 2;
}

// Prints what differs between two data files: channels and options by name, the rest as byte ranges.
int RunDiff(CCliContext &context, const QStringList &args)
{
    QStringList paths;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--lang")) {
            if (!context.TakeLanguage(args.value(++i)))
                return context.UsageError(QStringLiteral("--lang takes english or chinese"));
        } else if (!arg.startsWith(QLatin1String("--")) && paths.size() < 2) {
            paths << arg;
        } else {
            return context.UsageError(QStringLiteral("unexpected argument \"%1\"").arg(arg));
        }
    }
    if (paths.size() != 2)
        return context.UsageError(QStringLiteral("diff needs A.dat B.dat"));
    const bool zh = context.IsChinese();

    CRadioImage images[2];
    for (int k = 0; k < 2; ++k) {
        const DataFile::Result loaded = DataFile::Load(paths.at(k), images[k]);
        if (!loaded.ok()) {
            context.Fail(DataFile::Describe(loaded, paths.at(k), zh));
            return kTrouble;
        }
    }
    const QStringList lines = ImageDiff::Lines(ImageDiff::Compare(images[0], images[1], context.Ini(), zh), zh);
    if (lines.isEmpty()) {
        context.Out() << kSame.Text(zh) << Qt::endl;
        return CCliContext::kDone;
    }
    for (const QString &line : lines)
        context.Out() << line << '\n';
    context.Out().flush();
    return kDiffer;
}
