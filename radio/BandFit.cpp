#include "radio/BandFit.h"

#include "config/Language.h"
#include "radio/ChannelCodec.h"
#include "image/RadioImage.h"

#include <QStringList>

namespace {

constexpr CBilingual kAfterChange {
    "Channel(s) %1 lie outside the new band %2. They keep their frequencies; change them, or Write will ask "
    "before it sends them to a radio.",
    "信道 %1 超出新频段 %2。这些信道保留原频率; 请修改, 否则写入电台前会再次询问。"
};
constexpr CBilingual kBeforeWrite {
    "Channel(s) %1 lie outside the band %2: the radio may not work on them.\nWrite them to the radio anyway?",
    "信道 %1 超出频段 %2: 电台可能无法在这些信道上工作。\n仍然写入电台吗?"
};
constexpr CBilingual kRefused {
    "Channel(s) %1 lie outside the band %2: nothing was sent. Correct them, or add --allow-out-of-band to "
    "write them anyway.",
    "信道 %1 超出频段 %2: 未发送任何数据。请修改这些信道, 或加上 --allow-out-of-band 仍然写入。"
};

// The frequency of a field in 10 Hz units, as the grid shows it; 0 when the field is empty.
std::int64_t Units(const CRadioImage& image, int channel, int offset)
{
    const std::span<const std::uint8_t> record = image.ChannelRecord(channel);
    const QString text = ChannelCodec::DecodeFrequency(record.subspan(offset).first<4>());
    return text.isEmpty() ? 0 : ChannelCodec::FrequencyUnits(text);
}

bool Inside(std::int64_t units, BandLimits limits)
{
    return units >= limits.lower && units <= limits.upper;
}

} // namespace

namespace BandFit {

std::vector<int> OutsideChannels(const CRadioImage& image, BandLimits limits)
{
    std::vector<int> outside;
    for (int channel = 1; channel <= ImageMap::kChannelCount; ++channel) {
        if (ChannelCodec::IsEmptyChannel(image, channel))
            continue;
        const std::int64_t rx = Units(image, channel, ImageMap::Channel::kRxFrequency);
        const std::int64_t tx = Units(image, channel, ImageMap::Channel::kTxFrequency);
        if (!Inside(rx, limits) || (tx != 0 && !Inside(tx, limits)))
            outside.push_back(channel);
    }
    return outside;
}

QString ChannelNumbers(const std::vector<int>& channels)
{
    QStringList numbers;
    for (int channel : channels)
        numbers << QString::number(channel);
    return numbers.join(QStringLiteral(", "));
}

QString AfterBandChange(const std::vector<int>& channels, const QString& band, bool chinese)
{
    return kAfterChange.Text(chinese).arg(ChannelNumbers(channels), band);
}

QString BeforeWrite(const std::vector<int>& channels, const QString& band, bool chinese)
{
    return kBeforeWrite.Text(chinese).arg(ChannelNumbers(channels), band);
}

QString Refused(const std::vector<int>& channels, const QString& band, bool chinese)
{
    return kRefused.Text(chinese).arg(ChannelNumbers(channels), band);
}

} // namespace BandFit
