#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "config/FileLock.h"
#include "cli/CliService.h"
#include "config/Language.h"
#include "image/DataFile.h"
#include "service/PowerTable.h"

namespace {

constexpr CBilingual kNoPowerPoint { "%1 MHz is not a point of the power table; the points are: %2",
    "%1 MHz 不是功率表的频点; 频点为: %2" };
constexpr CBilingual kBadValues { "\"%1\": give three values LOW,MIDDLE,HIGH, each 0 to 255",
    "\"%1\": 需要三个值 低,中,高, 每个 0 到 255" };


} // namespace

// program-cli power FILE [MHZ=LOW,MIDDLE,HIGH...]: prints the power table as Power Adjustment shows it,
// or sets rows of it. Any refused row leaves the file untouched.
int RunPower(CCliContext& context, const QStringList& args)
{
    if (args.isEmpty() || args.first().startsWith(QLatin1Char('-')))
        return context.UsageError(QStringLiteral("power needs a FILE"));
    const QString path = args.first();
    // Held from reading the file to replacing it: a second program changing it waits for this one.
    CFileLock lock(path);
    if (args.size() > 1 && !lock.Lock())
        return context.Fail(lock.Error());
    CRadioImage image;
    const DataFile::Result loaded = DataFile::Load(path, image);
    if (!loaded.ok())
        return context.Fail(DataFile::Describe(loaded, path));
    const bool zh = context.IsChinese();
    const std::optional<CServiceBand> known = CliService::BandOf(context, image);
    if (!known)
        return CCliContext::kFailed;
    const CServiceBand& band = *known;
    CliService::NoteClipped(context, band, PowerTable::kCapacity);

    if (args.size() == 1) {
        for (const PowerTable::Row& row : PowerTable::Rows(image, band))
            context.Out() << row.mhz << '\t' << row.values[0] << '\t' << row.values[1] << '\t'
                          << row.values[2] << '\n';
        context.Out().flush();
        return CCliContext::kDone;
    }

    for (const QString& arg : args.mid(1)) {
        const int eq = arg.indexOf(QLatin1Char('='));
        int mhz = 0;
        if (eq < 0 || !CliService::ParseInt(arg.left(eq), mhz))
            return context.UsageError(QStringLiteral("\"%1\" is not MHZ=LOW,MIDDLE,HIGH").arg(arg));
        const int index = PowerTable::IndexOf(band, mhz);
        if (index < 0)
            return context.Fail(kNoPowerPoint.Text(zh).arg(mhz).arg(CliService::PointList(PowerTable::Points(band))));
        const QStringList values = arg.mid(eq + 1).split(QLatin1Char(','));
        if (values.size() != PowerTable::kLevels)
            return context.Fail(kBadValues.Text(zh).arg(arg));
        for (int level = 0; level < PowerTable::kLevels; ++level) {
            int value = 0;
            if (!CliService::ParseInt(values.at(level), value) || value < 0 || value > PowerTable::kMaxValue)
                return context.Fail(kBadValues.Text(zh).arg(arg));
            PowerTable::SetValue(image, band, index, level, value);
        }
    }
    const DataFile::Result saved = DataFile::Save(path, image);
    if (!saved.ok())
        return context.Fail(DataFile::Describe(saved, path));
    return CCliContext::kDone;
}
