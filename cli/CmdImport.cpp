#include "config/Language.h"
#include "config/UserSettings.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "config/FileLock.h"
#include "csv/ChannelCsv.h"
#include "dialogs/ProductCatalog.h"
#include "image/DataFile.h"

#include <QFile>

namespace {

constexpr CBilingual kNothingImported { "Nothing was imported: %1 row(s) cannot be placed. --skip-bad imports the rest.",
    "未导入任何信道: %1 行无法放置。--skip-bad 可导入其余各行。" };
constexpr CBilingual kImported { "Imported %1 channel(s).", "已导入 %1 个信道。" };
constexpr CBilingual kSkipped { "Imported %1 channel(s), skipped %2 row(s).", "已导入 %1 个信道, 跳过 %2 行。" };
constexpr CBilingual kTooLarge { "%1 is too large to be a channel list.", "%1 太大, 不是信道表。" };
// Far more than any channel list; a larger file is not one.
constexpr qint64 kMaxCsvBytes = 4 * 1024 * 1024;

} // namespace

// Places the rows of a channel CSV into a data file's channels by the grid's rules. Without
// --skip-bad a single row that cannot be placed leaves the file untouched.
int RunImport(CCliContext &context, const QStringList &args)
{
    QStringList paths;
    bool skipBad = false;
    for (const QString &arg : args) {
        if (arg == QLatin1String("--skip-bad"))
            skipBad = true;
        else if (!arg.startsWith(QLatin1String("--")) && paths.size() < 2)
            paths << arg;
        else
            return context.UsageError(QStringLiteral("unexpected argument \"%1\"").arg(arg));
    }
    if (paths.size() != 2)
        return context.UsageError(QStringLiteral("import needs FILE IN.csv"));
    const QString &path = paths.at(0);
    const bool zh = context.IsChinese();

    // Held from reading the file to replacing it: a second program changing it waits for this one.
    CFileLock lock(path);
    if (!lock.Lock())
        return context.Fail(lock.Error());
    CRadioImage image;
    const DataFile::Result loaded = DataFile::Load(path, image);
    if (!loaded.ok())
        return context.Fail(DataFile::Describe(loaded, path));

    QFile csv(paths.at(1));
    if (!csv.open(QIODevice::ReadOnly))
        return context.Fail(DataFile::Describe({ DataFile::Status::OpenFailed, csv.errorString() }, paths.at(1)));
    const QByteArray bytes = csv.read(kMaxCsvBytes + 1);
    if (bytes.size() > kMaxCsvBytes)
        return context.Fail(kTooLarge.Text(zh).arg(paths.at(1)));

    const BandLimits limits =
        ProductCatalog::CheckedLimits(context.Ini(), image, CUserSettings::ForConfiguration(context.Ini()));
    const ChannelCsv::ImportPlan plan = ChannelCsv::Plan(bytes, image, limits, zh);
    for (const ChannelCsv::Refusal &refusal : plan.refusals)
        context.Err() << ChannelCsv::Describe(refusal, zh) << '\n';
    if (plan.fileRefused)
        return CCliContext::kFailed;
    // Skipping every row imports nothing: that is no success either.
    if (!plan.IsClean() && (!skipBad || plan.rows.empty()))
        return context.Fail(kNothingImported.Text(zh).arg(plan.refusals.size()));

    const int applied = ChannelCsv::Apply(plan, image, zh);
    const DataFile::Result saved = DataFile::Save(path, image);
    if (!saved.ok())
        return context.Fail(DataFile::Describe(saved, path));
    if (plan.refusals.empty())
        context.Out() << kImported.Text(zh).arg(applied) << Qt::endl;
    else
        context.Out() << kSkipped.Text(zh).arg(applied).arg(plan.refusals.size()) << Qt::endl;
    return CCliContext::kDone;
}
