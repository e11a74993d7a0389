#include "radio/BandMark.h"

#include "config/Language.h"
#include "radio/CellMessage.h"
#include "radio/ChannelCodec.h"

namespace {

constexpr CBilingual kBandMarkTip { "Outside the band %1 (%2 to %3 MHz). Kept as it is; Write asks before sending "
                                    "it. Type a frequency of the band to clear the mark.",
    "超出频段 %1 (%2 至 %3 MHz)。保持原样; 写入前会询问。输入本频段内的频率即可清除标记。" };

} // namespace

namespace BandMark {

bool IsOutside(const QString &frequencyText, BandLimits limits)
{
    if (frequencyText.trimmed().isEmpty())
        return false;
    const std::int64_t units = ChannelCodec::FrequencyUnits(frequencyText);
    return units < limits.lower || units > limits.upper;
}

QString ToolTip(const QString &bandText, BandLimits limits, bool chinese)
{
    return kBandMarkTip.Text(chinese).arg(
        bandText.trimmed(), CellMessage::Megahertz(limits.lower), CellMessage::Megahertz(limits.upper));
}

} // namespace BandMark
