#include "config/Language.h"
#include "config/UserSettings.h"
#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "config/FileLock.h"
#include "config/FileName.h"
#include "config/SafeFile.h"
#include "csv/ChannelCsv.h"
#include "radio/ProductCatalog.h"
#include "image/DataFile.h"

#include <QFile>

#include <limits>

namespace {

constexpr CBilingual kNothingImported { "Nothing was imported: %1 row(s) cannot be placed. --skip-bad imports the rest.",
    "未导入任何信道: %1 行无法放置。--skip-bad 可导入其余各行。" };
constexpr CBilingual kNoRowFits { "Nothing was imported: none of the %1 row(s) can be placed.",
    "未导入任何信道: %1 行均无法放置。" };
constexpr CBilingual kNoRowInWindow { "Nothing was imported: the file has no row in Locations %1.",
    "未导入任何信道: 文件中没有位于 Location %1 的行。" };
constexpr int kHighestFirstLocation = std::numeric_limits<int>::max() - 15;
constexpr CBilingual kImported { "Imported %1 channel(s) from %2 into %3", "已从 %2 导入 %1 个信道到 %3" };
constexpr CBilingual kSkipped { ", skipped %1 row(s)", ", 跳过 %1 行" };
constexpr CBilingual kTooLarge { "%1 is too large to be a channel list.", "%1 太大, 不是信道表。" };
constexpr CBilingual kFromHint { "The file's Locations run from %1 to %2: --from L puts Locations L to L+15 into "
                                 "channels 1 to 16.",
    "文件的 Location 从 %1 到 %2: --from L 把 Location L 到 L+15 放入信道 1 到 16。" };
constexpr CBilingual kBandHint { "To choose another band: program-cli product %1 --band N (N: %2).",
    "选择其他频段: program-cli product %1 --band N (N: %2)。" };
// Far more than any channel list; a larger file is not one.
constexpr qint64 kMaxCsvBytes = 4 * 1024 * 1024;

QString numberedBands(const CIniFile &ini, const CRadioImage &image)
{
    const QStringList bands = ProductCatalog::BandList(ini, image.Byte(ImageMap::kProductType));
    QStringList items;
    for (int i = 0; i < bands.size(); ++i)
        items << QStringLiteral("%1 \"%2\"").arg(i + 1).arg(bands.at(i));
    return items.join(QStringLiteral(", "));
}

} // namespace

// Places the rows of a channel CSV into a data file's channels by the grid's rules. Without
// --skip-bad a single row that cannot be placed leaves the file untouched; --from L takes Locations
// L..L+15 of a longer list.
int RunImport(CCliContext &context, const QStringList &args)
{
    QStringList paths;
    bool skipBad = false;
    int first = ChannelCsv::kFileFirstLocation;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--skip-bad")) {
            skipBad = true;
        } else if (arg == QLatin1String("--from")) {
            bool number = false;
            first = args.value(++i).toInt(&number);
            // Channel 16 takes Location L+15, which must still be a number.
            if (!number || first < 0 || first > kHighestFirstLocation)
                return context.UsageError(QStringLiteral("--from takes the Location of channel 1, a number from 0 to %1")
                                              .arg(kHighestFirstLocation));
        } else if (arg == QLatin1String("--lang")) {
            if (!context.TakeLanguage(args.value(++i)))
                return context.UsageError(QStringLiteral("--lang takes english or chinese"));
        } else if (!arg.startsWith(QLatin1String("--")) && paths.size() < 2) {
            paths << arg;
        } else {
            return context.UsageError(QStringLiteral("unexpected argument \"%1\"").arg(arg));
        }
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

    // Read as every file the user names: a FIFO or a folder is refused at once (the data file's lock is
    // held meanwhile), and a name that is not UTF-8 is found.
    QByteArray bytes;
    if (const QString reason = SafeFile::Read(paths.at(1), kMaxCsvBytes + 1, bytes); !reason.isEmpty())
        return context.Fail(DataFile::Describe({ DataFile::Status::OpenFailed, reason }, paths.at(1)));
    if (bytes.size() > kMaxCsvBytes)
        return context.Fail(kTooLarge.Text(zh).arg(paths.at(1)));

    const BandLimits limits =
        ProductCatalog::CheckedLimits(context.Ini(), image, CUserSettings::ForConfiguration(context.Ini()));
    const ChannelCsv::ImportPlan plan = ChannelCsv::Plan(bytes, image, limits, zh, first);
    for (const ChannelCsv::Refusal &refusal : plan.refusals)
        context.Err() << ChannelCsv::Describe(refusal, zh) << '\n';
    for (const ChannelCsv::Refusal &note : plan.notes)
        context.Err() << ChannelCsv::Describe(note, zh) << '\n';
    // What would make the refused rows fit.
    if (plan.beyond > 0) {
        const ChannelCsv::Locations locations = ChannelCsv::ListLocations(bytes);
        context.Err() << kFromHint.Text(zh).arg(locations.lowest).arg(locations.highest) << '\n';
    }
    if (plan.outOfBand)
        context.Err() << kBandHint.Text(zh).arg(path, numberedBands(context.Ini(), image)) << '\n';
    if (plan.fileRefused)
        return CCliContext::kFailed;
    // Skipping every row imports nothing: that is no success either, and --skip-bad would not help.
    if (plan.rows.empty() && !plan.refusals.empty())
        return context.Fail(kNoRowFits.Text(zh).arg(plan.refusals.size()));
    if (!plan.IsClean() && !skipBad)
        return context.Fail(kNothingImported.Text(zh).arg(plan.refusals.size()));
    if (plan.rows.empty() && plan.leftOut > 0)
        return context.Fail(kNoRowInWindow.Text(zh).arg(ChannelCsv::LocationRange(plan)));

    const int applied = ChannelCsv::Apply(plan, image, zh);
    const DataFile::Result saved = DataFile::Save(path, image);
    if (!saved.ok())
        return context.Fail(DataFile::Describe(saved, path));
    QString summary = kImported.Text(zh).arg(applied).arg(FileName::Display(paths.at(1)), FileName::Display(path));
    if (!plan.refusals.empty())
        summary += kSkipped.Text(zh).arg(plan.refusals.size());
    if (plan.leftOut > 0)
        summary += QStringLiteral(", ") + ChannelCsv::LeftOutText(plan, zh);
    context.Summary(summary + (zh ? QStringLiteral("。") : QStringLiteral(".")));
    return CCliContext::kDone;
}
