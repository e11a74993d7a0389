#include "cli/CliCommands.h"
#include "cli/CliContext.h"
#include "config/FileLock.h"
#include "cli/CliService.h"
#include "config/Language.h"
#include "image/DataFile.h"
#include "service/ParamTable.h"

namespace {

constexpr CBilingual kOutOfRange { "%1=%2 is out of range: %1 takes %3 to %4",
    "%1=%2 超出范围: %1 取值 %3 到 %4" };
constexpr CBilingual kNoSquelchPoint { "%1 MHz is not a squelch point; the points are: %2",
    "%1 MHz 不是静噪频点; 频点为: %2" };
constexpr CBilingual kTakenCorrected { "%1: the file holds %2, out of range; taken as %3",
    "%1: 文件中为 %2, 超出范围; 按 %3 处理" };
constexpr CBilingual kNotNumber { "%1=%2: the value must be a whole number", "%1=%2: 值必须是整数" };
const QString kSqlPrefix = QStringLiteral("sql:");

// "sql:MHZ, sqlclose, ...": what a usage error offers.
QString paramNameList()
{
    QStringList names { kSqlPrefix + QStringLiteral("MHZ") };
    for (int f = 0; f < ParamTable::kFieldCount; ++f)
        names << QLatin1String(ParamTable::Info(ParamTable::Field(f)).name);
    return names.join(QStringLiteral(", "));
}

void Print(CCliContext& context, const CRadioImage& image, const CServiceBand& band)
{
    QTextStream& out = context.Out();
    const std::vector<int> points = ParamTable::SquelchPoints(band);
    for (int i = 0; i < int(points.size()); ++i)
        out << kSqlPrefix << points[std::size_t(i)] << '\t' << image.Byte(ParamTable::SquelchAddress(band, i))
            << '\n';
    for (int f = 0; f < ParamTable::kFieldCount; ++f) {
        const auto field = ParamTable::Field(f);
        out << ParamTable::Info(field).name << '\t' << ParamTable::Value(image, field) << '\n';
    }
    out.flush();
}

// Sets one NAME=VALUE; prints why and returns false when it is refused.
bool Set(CCliContext& context, CRadioImage& image, const CServiceBand& band, const QString& arg)
{
    const bool zh = context.IsChinese();
    const int eq = arg.indexOf(QLatin1Char('='));
    const QString name = arg.left(eq);
    const QString text = arg.mid(eq + 1);
    int value = 0;
    if (!CliService::ParseInt(text, value)) {
        context.Fail(kNotNumber.Text(zh).arg(name, text));
        return false;
    }
    if (name.startsWith(kSqlPrefix)) {
        int mhz = 0;
        const int index = CliService::ParseInt(name.mid(kSqlPrefix.size()), mhz)
            ? ParamTable::SquelchIndexOf(band, mhz)
            : -1;
        if (index < 0) {
            context.Fail(kNoSquelchPoint.Text(zh).arg(
                name.mid(kSqlPrefix.size()), CliService::PointList(ParamTable::SquelchPoints(band))));
            return false;
        }
        if (value < ParamTable::kSquelchMin || value > ParamTable::kSquelchMax) {
            context.Fail(kOutOfRange.Text(zh)
                             .arg(name, text)
                             .arg(ParamTable::kSquelchMin)
                             .arg(ParamTable::kSquelchMax));
            return false;
        }
        ParamTable::SetSquelch(image, band, index, value);
        return true;
    }
    const ParamTable::Field field = *ParamTable::FieldNamed(name);
    if (!ParamTable::InRange(field, value)) {
        const ParamTable::FieldInfo& info = ParamTable::Info(field);
        context.Fail(kOutOfRange.Text(zh).arg(name, text).arg(info.min).arg(info.max));
        return false;
    }
    ParamTable::SetValue(image, field, value);
    return true;
}

} // namespace

// program-cli params FILE [NAME=VALUE...]: prints the alignment values as Parameter Adjustment shows
// them (after the sanitiser), or sets them. A refused value leaves the file untouched.
int RunParams(CCliContext& context, const QStringList& args)
{
    if (args.isEmpty() || args.first().startsWith(QLatin1Char('-')))
        return context.UsageError(QStringLiteral("params needs a FILE"));
    for (const QString& arg : args.mid(1)) {
        const int eq = arg.indexOf(QLatin1Char('='));
        const QString name = arg.left(eq);
        if (eq < 0 || (!name.startsWith(kSqlPrefix) && !ParamTable::FieldNamed(name)))
            return context.UsageError(
                QStringLiteral("\"%1\" is not NAME=VALUE with a known NAME (%2)").arg(arg, paramNameList()));
    }
    const QString path = args.first();
    // Held from reading the file to replacing it: a second program changing it waits for this one.
    CFileLock lock(path);
    if (args.size() > 1 && !lock.Lock())
        return context.Fail(lock.Error());
    CRadioImage image;
    const DataFile::Result loaded = DataFile::Load(path, image);
    if (!loaded.ok())
        return context.Fail(DataFile::Describe(loaded, path));
    const std::optional<CServiceBand> known = CliService::BandOf(context, image);
    if (!known)
        return CCliContext::kFailed;
    const CServiceBand& band = *known;
    CliService::NoteClipped(context, band, ParamTable::kSquelchCapacity);

    // As the dialog: what it shows has been through the sanitiser. Each value it corrects is said.
    for (const ParamTable::Correction& c : ParamTable::Sanitise(image, band))
        context.Err() << kTakenCorrected.Text(context.IsChinese()).arg(c.name).arg(c.was).arg(c.now) << '\n';
    context.Err().flush();
    if (args.size() == 1) {
        Print(context, image, band);
        return CCliContext::kDone;
    }
    for (const QString& arg : args.mid(1))
        if (!Set(context, image, band, arg))
            return CCliContext::kFailed;
    const DataFile::Result saved = DataFile::Save(path, image);
    if (!saved.ok())
        return context.Fail(DataFile::Describe(saved, path));
    return CCliContext::kDone;
}
