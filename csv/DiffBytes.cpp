#include "csv/DiffBytes.h"

#include "config/Language.h"
#include "radio/OptionalFeatures.h"
#include "image/ImageMap.h"

#include <QStringList>

#include <algorithm>

namespace {

// One thing of the memory map: a part of a channel record, an option byte, a table entry, ...
struct CDiffSpan {
    int first;
    int end; // exclusive
    CBilingual name;
    int channel = 0; // 1..16 for a part of a channel record
    int entry = 0;   // 1..9 for a power table entry
};

constexpr CBilingual kDiffChannelParts[] = {
    { "receive frequency ", "接收频率" },
    { "transmit frequency ", "发射频率" },
    { "decode tone ", "接收亚音" },
    { "encode tone ", "发射亚音" },
    { "flag ", "标志" },
    { "", "" }, // bytes 14-15: no column
};
constexpr int kDiffChannelPartStarts[] = { ImageMap::Channel::kRxFrequency, ImageMap::Channel::kTxFrequency,
    ImageMap::Channel::kDecodeTone, ImageMap::Channel::kEncodeTone, ImageMap::Channel::kFlagsA,
    ImageMap::Channel::kFlagsB + 1, ImageMap::kChannelRecordSize };

constexpr CBilingual kDiffScanList { "Scan list", "扫描列表" };
constexpr CBilingual kDiffGridMark { "Channel-list mark", "信道表标记" };
constexpr CBilingual kDiffAlignment { "Alignment", "校准" };
constexpr CBilingual kDiffNarrowSquelch { "Narrow squelch threshold and band class", "窄带静噪门限和波段类别" };
constexpr CBilingual kDiffType { "Radio type", "电台型号" };
constexpr CBilingual kDiffBand { "Frequency band", "频段" };
constexpr CBilingual kDiffPowerEntry { "Power table entry %1", "功率表第 %1 项" };
constexpr CBilingual kDiffFileOnly { "Kept only in data files", "只存于数据文件" };

constexpr CBilingual kDiffChannelBytes { "Channel %1 %2bytes %3-%4 (0x%5-0x%6)", "信道 %1 %2字节 %3-%4 (0x%5-0x%6)" };
constexpr CBilingual kDiffChannelByte { "Channel %1 %2byte %3 (0x%4)", "信道 %1 %2字节 %3 (0x%4)" };
constexpr CBilingual kDiffNamedBytes { "%1, bytes 0x%2-0x%3", "%1, 字节 0x%2-0x%3" };
constexpr CBilingual kDiffNamedByte { "%1, byte 0x%2", "%1, 字节 0x%2" };
constexpr CBilingual kDiffBytes { "Bytes 0x%1-0x%2", "字节 0x%1-0x%2" };
constexpr CBilingual kDiffByte { "Byte 0x%1", "字节 0x%1" };

// What the bits of a byte are, where the map says it bit by bit.
struct CDiffBitMeaning {
    std::uint8_t mask;
    CBilingual name;
};
constexpr CDiffBitMeaning kDiffFlagsABits[] = { { 0x18, { "busy-channel lockout", "繁忙信道锁定" } } };
constexpr CDiffBitMeaning kDiffFlagsBBits[] = { { 0x10, { "bandwidth", "带宽" } }, { 0x60, { "power", "功率" } } };
constexpr CDiffBitMeaning kDiffSideKeyBits[] = { { ImageMap::kSideKeyMask, { "side key", "侧键" } } };
constexpr CBilingual kDiffScanBit { "scan of channel %1", "信道 %1 扫描" };
constexpr CBilingual kDiffUnusedBits { "not used by this program", "本程序不使用" };
constexpr CBilingual kDiffBitsOf { "%1 %2: %3", "%1 %2: %3" };
constexpr CBilingual kDiffRecordByte { "byte %1", "字节 %1" };
constexpr CBilingual kDiffBitList { "bits %1", "位 %1" };
constexpr CBilingual kDiffOneBit { "bit %1", "位 %1" };

QString diffHex(int value, int width = 3)
{
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
}

std::vector<CDiffSpan> buildDiffSpans()
{
    std::vector<CDiffSpan> spans;
    for (int channel = 1; channel <= ImageMap::kChannelCount; ++channel)
        for (int part = 0; part < int(std::size(kDiffChannelParts)); ++part)
            spans.push_back({ ImageMap::channelOffset(channel) + kDiffChannelPartStarts[part],
                ImageMap::channelOffset(channel) + kDiffChannelPartStarts[part + 1], kDiffChannelParts[part], channel, 0 });
    for (const OptionalFeatures::Option& option : OptionalFeatures::All())
        spans.push_back({ option.offset, option.offset + 1, option.label, 0, 0 });
    spans.push_back({ ImageMap::kScanFlags, ImageMap::kScanFlags + 2, kDiffScanList, 0, 0 });
    spans.push_back({ ImageMap::kGridStoredMark, ImageMap::kGridStoredMark + 1, kDiffGridMark, 0, 0 });
    spans.push_back({ ImageMap::kAlignmentStart, ImageMap::kNarrowSquelchThreshold, kDiffAlignment, 0, 0 });
    spans.push_back({ ImageMap::kNarrowSquelchThreshold, ImageMap::kNarrowSquelchThreshold + 1, kDiffNarrowSquelch, 0, 0 });
    spans.push_back({ ImageMap::kNarrowSquelchThreshold + 1, ImageMap::kAlignmentEnd, kDiffAlignment, 0, 0 });
    spans.push_back({ ImageMap::kProductType, ImageMap::kProductType + 1, kDiffType, 0, 0 });
    spans.push_back({ ImageMap::kFrequencyBand, ImageMap::kFrequencyBand + 1, kDiffBand, 0, 0 });
    for (int entry = 0; entry < ImageMap::kPowerTableEntries; ++entry) {
        const int first = ImageMap::kPowerTable + entry * ImageMap::kPowerTableEntrySize;
        spans.push_back({ first, first + ImageMap::kPowerTableEntrySize, kDiffPowerEntry, 0, entry + 1 });
    }
    spans.push_back({ ImageMap::kTransferEnd, ImageMap::kImageSize, kDiffFileOnly, 0, 0 });
    std::sort(spans.begin(), spans.end(), [](const CDiffSpan& a, const CDiffSpan& b) { return a.first < b.first; });
    return spans;
}

// The named thing address belongs to; between named things, the stretch of bytes no one names (with
// an empty name).
CDiffSpan diffSpanAt(int address)
{
    static const std::vector<CDiffSpan> spans = buildDiffSpans();
    CDiffSpan gap { 0, ImageMap::kImageSize, { "", "" }, 0, 0 };
    for (const CDiffSpan& span : spans) {
        if (address >= span.first && address < span.end)
            return span;
        if (span.end <= address)
            gap.first = std::max(gap.first, span.end);
        else if (span.first > address)
            gap.end = std::min(gap.end, span.first);
    }
    return gap;
}

// "0-2, 5-7" for the bits set in mask.
QString diffBitRanges(std::uint8_t mask, int* count)
{
    QStringList ranges;
    *count = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if (!(mask & (1u << bit)))
            continue;
        int last = bit;
        while (last + 1 < 8 && (mask & (1u << (last + 1))))
            ++last;
        ranges << (last == bit ? QString::number(bit) : QStringLiteral("%1-%2").arg(bit).arg(last));
        *count += last - bit + 1;
        bit = last;
    }
    return ranges.join(QStringLiteral(", "));
}

QString diffBitsText(std::uint8_t mask, bool chinese)
{
    int count = 0;
    const QString ranges = diffBitRanges(mask, &count);
    return (count == 1 ? kDiffOneBit : kDiffBitList).Text(chinese).arg(ranges);
}

} // namespace

namespace DiffBytes {

std::vector<std::pair<int, int>> Split(int from, int end)
{
    std::vector<std::pair<int, int>> pieces;
    while (from < end) {
        const int stop = std::min(end, diffSpanAt(from).end);
        pieces.emplace_back(from, stop);
        from = stop;
    }
    return pieces;
}

QString Name(int from, int end, bool chinese)
{
    const CDiffSpan span = diffSpanAt(from);
    const int last = end - 1;
    if (span.channel) {
        const int base = ImageMap::channelOffset(span.channel);
        const QString part = span.name.Text(chinese);
        if (last == from)
            return kDiffChannelByte.Text(chinese).arg(span.channel).arg(part).arg(from - base).arg(diffHex(from));
        return kDiffChannelBytes.Text(chinese)
            .arg(span.channel)
            .arg(part)
            .arg(from - base)
            .arg(last - base)
            .arg(diffHex(from), diffHex(last));
    }
    QString name = span.name.Text(chinese);
    if (span.entry)
        name = name.arg(span.entry);
    if (name.isEmpty())
        return last == from ? kDiffByte.Text(chinese).arg(diffHex(from))
                            : kDiffBytes.Text(chinese).arg(diffHex(from), diffHex(last));
    return last == from ? kDiffNamedByte.Text(chinese).arg(name, diffHex(from))
                        : kDiffNamedBytes.Text(chinese).arg(name, diffHex(from), diffHex(last));
}

QString Bits(const CRadioImage& first, const CRadioImage& second, int from, int end, bool chinese)
{
    QStringList parts;
    for (int at = from; at < end; ++at) {
        const std::uint8_t differ = first.Byte(at) ^ second.Byte(at);
        if (!differ)
            continue;
        const CDiffSpan span = diffSpanAt(at);
        std::vector<std::pair<std::uint8_t, QString>> meanings;
        QString label = QStringLiteral("0x") + diffHex(at);
        if (span.channel) {
            const int inRecord = at - ImageMap::channelOffset(span.channel);
            label = kDiffRecordByte.Text(chinese).arg(inRecord);
            if (inRecord == ImageMap::Channel::kFlagsA)
                for (const CDiffBitMeaning& m : kDiffFlagsABits)
                    meanings.emplace_back(m.mask, m.name.Text(chinese));
            else if (inRecord == ImageMap::Channel::kFlagsB)
                for (const CDiffBitMeaning& m : kDiffFlagsBBits)
                    meanings.emplace_back(m.mask, m.name.Text(chinese));
        } else if (at == ImageMap::kScanFlags || at == ImageMap::kScanFlags + 1) {
            for (int bit = 0; bit < 8; ++bit)
                meanings.emplace_back(std::uint8_t(1u << bit),
                    kDiffScanBit.Text(chinese).arg((at - ImageMap::kScanFlags) * 8 + bit + 1));
        } else if (at == ImageMap::kSideKey) {
            for (const CDiffBitMeaning& m : kDiffSideKeyBits)
                meanings.emplace_back(m.mask, m.name.Text(chinese));
        }
        if (meanings.empty())
            continue; // a byte the map does not split into bits
        std::uint8_t known = 0;
        for (const auto& [mask, name] : meanings) {
            known |= mask;
            if (differ & mask)
                parts << kDiffBitsOf.Text(chinese).arg(label, diffBitsText(differ & mask, chinese), name);
        }
        if (differ & ~known)
            parts << kDiffBitsOf.Text(chinese).arg(
                label, diffBitsText(std::uint8_t(differ & ~known), chinese), kDiffUnusedBits.Text(chinese));
    }
    return parts.join(QStringLiteral("; "));
}

bool IsServiceTable(int address)
{
    return (address >= ImageMap::kAlignmentStart && address < ImageMap::kAlignmentEnd)
        || (address >= ImageMap::kPowerTable && address < ImageMap::kTransferEnd);
}

} // namespace DiffBytes
