#include "radio/OptionalFeatures.h"

using namespace ImageMap;

namespace OptionalFeatures {

namespace {

constexpr Option kOptions[] = {
    { { "Time Out Time", "超时定时器" }, 1118, kTimeOutTimer, Rule::IndexPlusOne },
    { { "Squelch Level", "静噪电平" }, 1116, kSquelchLevel, Rule::Index },
    { { "Voice Annunciation", "语音报号" }, 1119, kVoiceAnnunciation, Rule::Index },
    { { "Priority Channel", "优先信道" }, 1006, kPriorityChannel, Rule::Index },
    { { "VOX", "声控" }, 1007, kVox, Rule::OnOff },
    { { "Vox Gain Level", "声控增益电平" }, 1121, kVoxGain, Rule::IndexPlusOne },
    { { "Vox Delay Time", "声控延迟时间" }, 1140, kVoxDelay, Rule::Index },
    { { "Side Key", "侧键" }, 1010, kSideKey, Rule::SideKey },
    { { "Beep", "哔音" }, 1141, kBeep, Rule::NonZeroOn },
    { { "Battery Saver", "电池省电" }, 1142, kBatterySaver, Rule::NonZeroOn },
};

constexpr CBilingual kOn { "On", "开" };
constexpr CBilingual kOff { "Off", "关" };
constexpr CBilingual kVoice[] = { { "Off", "关" }, { "Chinese", "中文" }, { "English", "英文" } };
constexpr CBilingual kSideKeys[] = {
    { "Off", "关闭" }, { "Monitor", "监听" }, { "Monitor Momentary", "监听瞬时" }, { "Emergency Alarm", "紧急报警" },
};
constexpr const char *kVoxDelays[] = { "0.3s", "0.5s", "1.0s", "1.5s", "2.0s", "3.0s" };

QStringList numbers(int from, int to)
{
    QStringList items;
    for (int n = from; n <= to; ++n)
        items << QString::number(n);
    return items;
}

} // namespace

std::span<const Option> All()
{
    return kOptions;
}

QStringList Items(const Option &option, bool chinese)
{
    QStringList items;
    switch (option.offset) {
    case kTimeOutTimer:
        for (int k = 1; k <= 40; ++k)
            items << QString::asprintf("%ds", 15 * k);
        return items;
    case kSquelchLevel: return numbers(0, 9);
    case kVoiceAnnunciation:
        for (const CBilingual &v : kVoice)
            items << v.Text(chinese);
        return items;
    case kPriorityChannel: return QStringList { kOff.Text(chinese) } + numbers(1, 16);
    case kVoxGain: return numbers(1, 8);
    case kVoxDelay:
        for (const char *d : kVoxDelays)
            items << QLatin1String(d);
        return items;
    case kSideKey:
        for (const CBilingual &v : kSideKeys)
            items << v.Text(chinese);
        return items;
    default: return { kOn.Text(chinese), kOff.Text(chinese) };
    }
}

int SelectionFromImage(const Option &option, const CRadioImage &image)
{
    const int byte = image.Byte(option.offset);
    int index = byte;
    switch (option.rule) {
    case Rule::Index: index = byte; break;
    case Rule::IndexPlusOne: index = byte - 1; break;
    case Rule::OnOff: index = 1 - byte; break;
    case Rule::NonZeroOn: index = byte != 0 ? 0 : 1; break;
    case Rule::SideKey: index = (byte >> kSideKeyShift) & 3; break;
    }
    return index >= 0 && index < Items(option, false).size() ? index : -1;
}

void StoreSelection(const Option &option, CRadioImage &image, int index)
{
    if (index < 0)
        return;
    std::uint8_t value = 0;
    switch (option.rule) {
    case Rule::Index: value = static_cast<std::uint8_t>(index); break;
    case Rule::IndexPlusOne: value = static_cast<std::uint8_t>(index + 1); break;
    case Rule::OnOff:
    case Rule::NonZeroOn: value = index == 0 ? 1 : 0; break;
    case Rule::SideKey:
        value = static_cast<std::uint8_t>((image.Byte(option.offset) & ~kSideKeyMask)
                                          | ((index << kSideKeyShift) & kSideKeyMask));
        break;
    }
    image.SetByte(option.offset, value);
}

QString ValueText(const Option &option, const CRadioImage &image, bool chinese)
{
    const int index = SelectionFromImage(option, image);
    return index < 0 ? QString() : Items(option, chinese).at(index);
}

int IndexOfText(const Option &option, const QString &text)
{
    for (bool chinese : { false, true }) {
        const QStringList items = Items(option, chinese);
        for (int i = 0; i < items.size(); ++i)
            if (items.at(i).compare(text, Qt::CaseInsensitive) == 0)
                return i;
    }
    return -1;
}

QStringList Lines(const CRadioImage &image, bool chinese, const QString &outsideList)
{
    QStringList lines;
    for (const Option &option : All()) {
        QString value = ValueText(option, image, chinese);
        if (SelectionFromImage(option, image) < 0)
            value = outsideList.arg(QString::asprintf("%02X", image.Byte(option.offset)));
        lines << option.label.Text(chinese) + QStringLiteral(": ") + value;
    }
    return lines;
}

} // namespace OptionalFeatures
