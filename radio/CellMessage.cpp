#include "radio/CellMessage.h"

#include "config/Language.h"
#include "radio/ChannelCodec.h"

namespace {

constexpr std::int64_t kCellStep5k = 500; // 10 Hz units
constexpr std::int64_t kCellStep625 = 625;
// A typed text longer than this is cut in the message; the cell never held it anyway.
constexpr qsizetype kTypedShownAtMost = 20;

constexpr CBilingual kOutsideBand { "Channel %1: %2 MHz is outside the band %3, which takes %4 to %5 MHz (all of "
                                    "%6.xxxxx included).",
    "信道 %1: %2 MHz 超出频段 %3, 该频段可用 %4 至 %5 MHz (含 %6.xxxxx 全部)。" };
constexpr CBilingual kOutsideLimits { "Channel %1: %2 MHz is outside %3 to %4 MHz.",
    "信道 %1: %2 MHz 超出允许范围 %3 至 %4 MHz。" };
constexpr CBilingual kOffStepLine { "Channel %1: %2 MHz is not on a 5 kHz or 6.25 kHz step.",
    "信道 %1: %2 MHz 不在 5 kHz 或 6.25 kHz 步进上。" };
constexpr CBilingual kNearestTwo { " Nearest: %1 or %2 MHz.", "最近的有效频率: %1 或 %2 MHz。" };
constexpr CBilingual kNearestOne { " Nearest: %1 MHz.", "最近的有效频率: %1 MHz。" };

QString cellTyped(const QString &typed)
{
    const QString text = typed.trimmed();
    return text.size() > kTypedShownAtMost ? text.left(kTypedShownAtMost) + QStringLiteral("...") : text;
}

} // namespace

namespace CellMessage {

QString Megahertz(std::int64_t units)
{
    QString text = QStringLiteral("%1.%2").arg(units / 100000).arg(units % 100000, 5, 10, QLatin1Char('0'));
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QString OutOfRange(int channel, const QString &typed, BandLimits limits, const QString &bandText, bool chinese)
{
    // The band list says "400 - 470MHz" and the grid takes up to 471: the listed top megahertz counts
    // whole. Said only where the band text gives exactly these limits, so the numbers agree.
    const BandLimits listed = ProductCatalog::LimitsFromBandText(bandText);
    const bool fromBand = !bandText.trimmed().isEmpty() && listed.lower == limits.lower && listed.upper == limits.upper
        && limits.upper % ProductCatalog::kUnitsPerMHz == 0 && limits.upper > limits.lower;
    if (!fromBand)
        return kOutsideLimits.Text(chinese).arg(channel).arg(cellTyped(typed), Megahertz(limits.lower), Megahertz(limits.upper));
    return kOutsideBand.Text(chinese)
        .arg(channel)
        .arg(cellTyped(typed), bandText.trimmed(), Megahertz(limits.lower), Megahertz(limits.upper),
            QString::number(limits.upper / ProductCatalog::kUnitsPerMHz - 1));
}

std::pair<std::optional<std::int64_t>, std::optional<std::int64_t>> NearestSteps(std::int64_t units, BandLimits limits)
{
    if (units < 0)
        return {};
    const auto down = [units](std::int64_t step) { return units / step * step; };
    const auto up = [units](std::int64_t step) { return (units + step - 1) / step * step; };
    const std::int64_t below = std::max(down(kCellStep5k), down(kCellStep625));
    const std::int64_t above = std::min(up(kCellStep5k), up(kCellStep625));
    const auto inside = [limits](std::int64_t v) -> std::optional<std::int64_t> {
        if (v < limits.lower || v > limits.upper)
            return std::nullopt;
        return v;
    };
    return { inside(below), inside(above) };
}

QString OffStep(int channel, const QString &typed, BandLimits limits, bool chinese)
{
    QString line = kOffStepLine.Text(chinese).arg(channel).arg(cellTyped(typed));
    const auto [below, above] = NearestSteps(ChannelCodec::FrequencyUnits(typed), limits);
    if (below && above && *below != *above)
        line += kNearestTwo.Text(chinese).arg(Megahertz(*below), Megahertz(*above));
    else if (below || above)
        line += kNearestOne.Text(chinese).arg(Megahertz(below ? *below : *above));
    return line;
}

} // namespace CellMessage
