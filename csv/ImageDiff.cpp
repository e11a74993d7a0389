#include "csv/ImageDiff.h"

#include "config/Language.h"
#include "csv/DiffBytes.h"
#include "radio/OptionalFeatures.h"
#include "radio/ProductCatalog.h"
#include "radio/ChannelCodec.h"
#include "radio/ChannelGrid.h"

#include <algorithm>
#include <array>

namespace {

constexpr CBilingual kChannel { "Channel %1 %2", "信道 %1 %2" };
constexpr CBilingual kEmpty { "(empty)", "(空)" };
constexpr CBilingual kType { "Type", "类型" };
constexpr CBilingual kBand { "Frequency", "频率" };
constexpr CBilingual kOutsideList { "(byte 0x%1)", "(字节 0x%1)" };
constexpr CBilingual kKindWarning {
    "The radio is not of the document's type or band (marked first). Writing would put channels for "
    "another band, and the document's type and band, into it.",
    "电台的型号或频段与文档不同 (标在最前)。"
    "写入会把另一频段的信道以及文档的型号和频段写进这台电台。"
};
constexpr CBilingual kKindQuestion {
    "The radio on %1 is not of the document's type or band:\n%2\nWrite the document into this radio anyway?",
    "%1 上的电台与文档的型号或频段不同:\n%2\n仍要把文档写入这台电台吗?"
};
constexpr CBilingual kKindLine { "%1: document %2, radio %3", "%1: 文档 %2, 电台 %3" };
constexpr CBilingual kOtherBytesHeading { "Other bytes, %1 difference(s)", "其他字节, %1 处不同" };
constexpr CBilingual kOtherBytesNote {
    "A write sends these bytes as they are, though no column or option shows them. They can differ without "
    "any channel or setting differing, for example when the channels were imported from a CSV list and the "
    "radio was programmed elsewhere.",
    "写入时这些字节照原样发送, 但没有任何列或选项显示它们。即使信道和设置都相同, 它们也可能不同, "
    "例如信道是从 CSV 列表导入的, 而电台是在别处编程的。"
};
// A long range shows its first bytes only; the range itself says how far it goes.
constexpr int kShownBytes = 16;

// The channel bytes the grid's texts stand for; bytes 14-15 of a record have no text.
constexpr int kShownChannelBytes = 14;

QString hex(int offset) { return QStringLiteral("%1").arg(offset, 3, 16, QLatin1Char('0')).toUpper(); }

QString bytesText(const CRadioImage &image, int from, int to)
{
    QStringList parts;
    for (int at = from; at < to && at < from + kShownBytes; ++at)
        parts << QStringLiteral("%1").arg(image.Byte(at), 2, 16, QLatin1Char('0')).toUpper();
    QString text = parts.join(QLatin1Char(' '));
    if (to - from > kShownBytes)
        text += QStringLiteral(" ...");
    return text;
}

} // namespace

namespace ImageDiff {

std::vector<Difference> Compare(const CRadioImage &first, const CRadioImage &second, const CIniFile &ini,
    bool chinese)
{
    std::vector<Difference> out;
    // Bytes whose difference a named line already tells.
    std::array<bool, ImageMap::kImageSize> told {};
    const auto shown = [&](const QString &text) { return text.isEmpty() ? kEmpty.Text(chinese) : text; };

    const std::uint8_t typeA = first.Byte(ImageMap::kProductType), typeB = second.Byte(ImageMap::kProductType);
    const QString typeTextA = ProductCatalog::ShownTypeText(ini, typeA, chinese);
    const QString typeTextB = ProductCatalog::ShownTypeText(ini, typeB, chinese);
    if (typeTextA != typeTextB) {
        out.push_back({ kType.Text(chinese), typeTextA, typeTextB, Group::RadioKind, {} });
        told[ImageMap::kProductType] = true;
    }
    const QString bandA = ProductCatalog::ShownBandText(ini, typeA, first.Byte(ImageMap::kFrequencyBand), chinese);
    const QString bandB = ProductCatalog::ShownBandText(ini, typeB, second.Byte(ImageMap::kFrequencyBand), chinese);
    if (bandA != bandB) {
        out.push_back({ kBand.Text(chinese), bandA, bandB, Group::RadioKind, {} });
        told[ImageMap::kFrequencyBand] = true;
    }

    // The scan bits the channel lines have told, per scan byte: a byte whose every differing bit was
    // told is not shown again among the other bytes.
    std::array<std::uint8_t, 2> scanBitsTold {};
    for (int channel = 1; channel <= ImageMap::kChannelCount; ++channel) {
        const auto a = ChannelCodec::DecodeChannel(first, channel, chinese);
        const auto b = ChannelCodec::DecodeChannel(second, channel, chinese);
        bool scanTold = false;
        for (int col = 1; col <= ChannelCodec::kFieldCount; ++col) {
            if (a[col - 1] == b[col - 1])
                continue;
            out.push_back({ kChannel.Text(chinese).arg(channel).arg(CChannelGrid::HeaderText(col, chinese)),
                shown(a[col - 1]), shown(b[col - 1]), Group::Channel, {} });
            for (int k = 0; k < kShownChannelBytes; ++k)
                told[ImageMap::channelOffset(channel) + k] = true;
            scanTold = scanTold || col == ChannelCodec::kScan;
        }
        if (scanTold && first.ScanFlag(channel) != second.ScanFlag(channel))
            scanBitsTold[(channel - 1) / 8] |= static_cast<std::uint8_t>(1u << ((channel - 1) % 8));
    }
    for (std::size_t i = 0; i < scanBitsTold.size(); ++i) {
        const int at = ImageMap::kScanFlags + static_cast<int>(i);
        if (((first.Byte(at) ^ second.Byte(at)) & ~scanBitsTold[i]) == 0)
            told[at] = told[at] || first.Byte(at) != second.Byte(at);
    }

    for (const OptionalFeatures::Option &option : OptionalFeatures::All()) {
        const auto value = [&](const CRadioImage &image) {
            const QString text = OptionalFeatures::ValueText(option, image, chinese);
            return text.isEmpty() ? kOutsideList.Text(chinese).arg(hex(image.Byte(option.offset)).right(2)) : text;
        };
        const QString a = value(first), b = value(second);
        if (a == b)
            continue;
        out.push_back({ option.label.Text(chinese), a, b, Group::Option, {} });
        // The side key shares its byte with bits of the radio's own: those still show as bytes.
        if (option.rule != OptionalFeatures::Rule::SideKey
            || ((first.Byte(option.offset) ^ second.Byte(option.offset)) & ~ImageMap::kSideKeyMask) == 0)
            told[option.offset] = true;
    }

    // The rest as runs of differing bytes, cut where one thing of the memory map ends; the tables
    // before the other bytes.
    std::vector<Difference> others;
    for (int at = 0; at < ImageMap::kImageSize;) {
        if (told[at] || first.Byte(at) == second.Byte(at)) {
            ++at;
            continue;
        }
        int end = at + 1;
        while (end < ImageMap::kImageSize && !told[end] && first.Byte(end) != second.Byte(end))
            ++end;
        for (const auto &[from, to] : DiffBytes::Split(at, end)) {
            const bool table = DiffBytes::IsServiceTable(from);
            (table ? out : others)
                .push_back({ DiffBytes::Name(from, to, chinese), bytesText(first, from, to), bytesText(second, from, to),
                    table ? Group::ServiceTable : Group::OtherBytes, DiffBytes::Bits(first, second, from, to, chinese) });
        }
        at = end;
    }
    out.insert(out.end(), others.begin(), others.end());
    return out;
}

bool RadioKindFirst(std::vector<Difference> &differences)
{
    const auto rest = std::stable_partition(
        differences.begin(), differences.end(), [](const Difference &d) { return d.IsRadioKind(); });
    return rest != differences.begin();
}

QString RadioKindWarning(bool chinese)
{
    return kKindWarning.Text(chinese);
}

QString RadioKindQuestion(const std::vector<Difference> &differences, const QString &port, bool chinese)
{
    QStringList lines;
    for (const Difference &d : differences)
        if (d.IsRadioKind())
            lines << kKindLine.Text(chinese).arg(d.item, d.first, d.second);
    return kKindQuestion.Text(chinese).arg(port, lines.join(QLatin1Char('\n')));
}

QString OtherBytesHeading(int count, bool chinese)
{
    return kOtherBytesHeading.Text(chinese).arg(count);
}

QString OtherBytesNote(bool chinese)
{
    return kOtherBytesNote.Text(chinese);
}

QStringList Lines(const std::vector<Difference> &differences, bool chinese)
{
    QStringList lines;
    const auto others = std::count_if(differences.begin(), differences.end(),
        [](const Difference &d) { return d.group == Group::OtherBytes; });
    bool headed = false;
    for (const Difference &d : differences) {
        QString line = QStringLiteral("%1: %2 -> %3").arg(d.item, d.first, d.second);
        if (!d.bits.isEmpty())
            line += QStringLiteral(" (%1)").arg(d.bits);
        if (d.group == Group::OtherBytes) {
            if (!headed)
                lines << OtherBytesHeading(int(others), chinese) + QLatin1Char(':') << QStringLiteral("  ") + OtherBytesNote(chinese);
            headed = true;
            line.prepend(QStringLiteral("  "));
        }
        lines << line;
    }
    return lines;
}

} // namespace ImageDiff
