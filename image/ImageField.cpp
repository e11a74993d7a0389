#include "image/ImageField.h"

#include "config/Language.h"
#include "image/ImageMap.h"

#include <iterator>

namespace {

struct CFieldSpan {
    int first;
    int end; // exclusive
    CBilingual name;
};

// The parts of a channel record, by byte position inside it.
constexpr CFieldSpan kChannelFields[] = {
    { ImageMap::Channel::kRxFrequency, ImageMap::Channel::kTxFrequency, { "receive frequency", "接收频率" } },
    { ImageMap::Channel::kTxFrequency, ImageMap::Channel::kDecodeTone, { "transmit frequency", "发射频率" } },
    { ImageMap::Channel::kDecodeTone, ImageMap::Channel::kEncodeTone, { "decode tone", "接收亚音" } },
    { ImageMap::Channel::kEncodeTone, ImageMap::Channel::kFlagsA, { "encode tone", "发射亚音" } },
    { ImageMap::Channel::kFlagsA, ImageMap::Channel::kFlagsB, { "busy-channel lockout", "繁忙信道锁定" } },
    { ImageMap::Channel::kFlagsB, ImageMap::Channel::kFlagsB + 1, { "bandwidth and power", "带宽和功率" } },
};

// Radio-wide settings and the service areas.
constexpr CFieldSpan kRadioFields[] = {
    { ImageMap::kVoiceAnnunciation, ImageMap::kVoiceAnnunciation + 1,
        { "the voice annunciation", "语音提示" } },
    { ImageMap::kTimeOutTimer, ImageMap::kTimeOutTimer + 1, { "the time-out timer", "发射限时" } },
    { ImageMap::kSquelchLevel, ImageMap::kSquelchLevel + 1, { "the squelch level", "静噪等级" } },
    { ImageMap::kBatterySaver, ImageMap::kBatterySaver + 1, { "the battery saver", "省电" } },
    { ImageMap::kBeep, ImageMap::kBeep + 1, { "the beep", "按键提示音" } },
    { ImageMap::kVox, ImageMap::kVox + 1, { "VOX", "声控" } },
    { ImageMap::kVoxGain, ImageMap::kVoxGain + 1, { "the VOX gain", "声控灵敏度" } },
    { ImageMap::kVoxDelay, ImageMap::kVoxDelay + 1, { "the VOX delay", "声控延时" } },
    { ImageMap::kPriorityChannel, ImageMap::kPriorityChannel + 1, { "the priority channel", "优先信道" } },
    { ImageMap::kScanFlags, ImageMap::kScanFlags + 2, { "the scan list", "扫描列表" } },
    { ImageMap::kGridStoredMark, ImageMap::kGridStoredMark + 1, { "the channel-list mark", "信道表标记" } },
    { ImageMap::kNarrowSquelchThreshold, ImageMap::kNarrowSquelchThreshold + 1,
        { "the narrow squelch threshold and band class (alignment)", "窄带静噪门限和波段类别 (校准)" } },
    { ImageMap::kAlignmentStart, ImageMap::kAlignmentEnd,
        { "the receiver and transmitter alignment", "收发信机校准" } },
    { ImageMap::kProductType, ImageMap::kProductType + 1, { "the radio type", "电台型号" } },
    { ImageMap::kFrequencyBand, ImageMap::kFrequencyBand + 1, { "the frequency band", "频段" } },
    { ImageMap::kSideKey, ImageMap::kSideKey + 1, { "the side key", "侧键" } },
    { ImageMap::kPowerTable,
        ImageMap::kPowerTable + ImageMap::kPowerTableEntries* ImageMap::kPowerTableEntrySize,
        { "the transmitter power table", "发射功率表" } },
};

constexpr CBilingual kChannelField { "channel %1's %2", "信道 %1 的%2" };
constexpr CBilingual kChannelOther { "channel %1 (byte %2 of its record)", "信道 %1 (记录第 %2 字节)" };
constexpr CBilingual kPowerEntry { "%1, entry %2", "%1第 %2 项" };
constexpr CBilingual kUnnamed { "a byte with no setting of its own", "不属于任何设置的字节" };

} // namespace

namespace ImageField {

QString Describe(int address, bool chinese)
{
    const int row = address / ImageMap::kRowSize;
    if (address >= 0 && row >= 1 && row <= ImageMap::kChannelCount) {
        const int at = address % ImageMap::kRowSize;
        for (const CFieldSpan& field : kChannelFields)
            if (at >= field.first && at < field.end)
                return kChannelField.Text(chinese).arg(row).arg(field.name.Text(chinese));
        return kChannelOther.Text(chinese).arg(row).arg(at);
    }
    // The narrow squelch byte lies inside the alignment area: the first span that holds it wins.
    for (const CFieldSpan& field : kRadioFields) {
        if (address < field.first || address >= field.end)
            continue;
        if (field.first == ImageMap::kPowerTable)
            return kPowerEntry.Text(chinese)
                .arg(field.name.Text(chinese))
                .arg((address - field.first) / ImageMap::kPowerTableEntrySize + 1);
        return field.name.Text(chinese);
    }
    return kUnnamed.Text(chinese);
}

} // namespace ImageField
