#include "csv/CsvValues.h"

#include "config/NumberParse.h"
#include "radio/ChannelCodec.h"
#include "radio/ToneTable.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr std::int64_t kValueCeiling = 1000000000000;

// The high byte of a tone word says what the word holds: 00 or FF no tone, 28/29 a normal DCS code
// and A8/A9 an inverted one (bit 0 is bit 8 of the code's value), anything else a CTCSS tone in
// tenths of a hertz.
constexpr std::uint8_t kNoToneLow = 0x00, kNoToneHigh = 0xFF;
constexpr std::uint8_t kDcsNormal = 0x28, kDcsInverted = 0xA8;
constexpr int kDcsValueBits = 9;
constexpr int kMaxWord = 0xFFFF;

bool isDcsKind(std::uint8_t kind) { return (kind & 0xFE) == kDcsNormal || (kind & 0xFE) == kDcsInverted; }

// A DCS code's three octal digits (23 for D023) and its stored value (19) both ways.
int codeToValue(int code) { return (code / 100) * 64 + (code / 10 % 10) * 8 + code % 10; }
int valueToCode(int value) { return (value >> 6 & 7) * 100 + (value >> 3 & 7) * 10 + (value & 7); }
bool isOctalCode(int code) { return code >= 0 && code <= 777 && code % 10 <= 7 && code / 10 % 10 <= 7; }
}

namespace CsvValues {

std::optional<std::int64_t> ParseScaled(const QString &text, int decimals)
{
    const QString t = text.trimmed();
    std::int64_t value = 0;
    int fraction = -1; // digits read after the point; -1 before it
    bool anyDigit = false;
    for (QChar c : t) {
        if (c == QLatin1Char('.') && fraction < 0) {
            fraction = 0;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        anyDigit = true;
        const int digit = c.unicode() - '0';
        if (fraction >= decimals) {
            if (digit != 0)
                return std::nullopt;
            continue;
        }
        value = value * 10 + digit;
        if (value >= kValueCeiling)
            return std::nullopt;
        if (fraction >= 0)
            ++fraction;
    }
    if (!anyDigit)
        return std::nullopt;
    for (int k = std::max(fraction, 0); k < decimals; ++k)
        value *= 10;
    return value;
}

QString FormatScaled(std::int64_t value, int decimals)
{
    std::int64_t scale = 1;
    for (int k = 0; k < decimals; ++k)
        scale *= 10;
    const char* sign = value < 0 ? "-" : "";
    const auto v = static_cast<long long>(value < 0 ? -value : value);
    char text[48];
    const int length = decimals == 0
        ? std::snprintf(text, sizeof text, "%s%lld", sign, v)
        : std::snprintf(text, sizeof text, "%s%lld.%0*lld", sign, v / scale, decimals, v % scale);
    return QString::fromLatin1(text, length);
}

std::optional<std::int64_t> GridTextToHz(const QString &text)
{
    const auto units = ParseScaled(text, 5);
    if (!units)
        return std::nullopt;
    return *units * kHzPerGridUnit;
}

QString HzToGridText(std::int64_t hz)
{
    return FormatScaled(hz / kHzPerGridUnit, 5);
}

Tone FromGridText(const QString &text)
{
    Tone tone;
    if (text.isEmpty() || ChannelCodec::kNone.Matches(text))
        return tone;
    if (text.startsWith(QLatin1Char('D'))) {
        tone.kind = Tone::Kind::Dcs;
        tone.code = NumberParse::Atoi(text.mid(1));
        tone.inverted = !text.contains(QLatin1Char('N'));
        return tone;
    }
    tone.kind = Tone::Kind::Ctcss;
    tone.tenths = static_cast<int>(ParseScaled(text, 1).value_or(0));
    return tone;
}

QString ToGridText(const Tone &tone, bool chinese)
{
    switch (tone.kind) {
    case Tone::Kind::None: return ChannelCodec::kNone.Text(chinese);
    case Tone::Kind::Dcs: return QString::asprintf(tone.inverted ? "D%03dI" : "D%03dN", tone.code);
    case Tone::Kind::Ctcss: return FormatScaled(tone.tenths, 1);
    }
    return {};
}

Tone FromToneWord(std::uint8_t low, std::uint8_t kind)
{
    Tone tone;
    if (kind == kNoToneLow || kind == kNoToneHigh)
        return tone;
    if (isDcsKind(kind)) {
        tone.kind = Tone::Kind::Dcs;
        tone.code = valueToCode((kind & 1) << 8 | low);
        tone.inverted = (kind & 0xFE) == kDcsInverted;
        return tone;
    }
    tone.kind = Tone::Kind::Ctcss;
    tone.tenths = kind << 8 | low;
    return tone;
}

bool ToToneWord(const Tone &tone, std::uint8_t &low, std::uint8_t &kind)
{
    switch (tone.kind) {
    case Tone::Kind::None:
        low = kind = kNoToneHigh;
        return true;
    case Tone::Kind::Dcs: {
        if (!isOctalCode(tone.code))
            return false;
        const int value = codeToValue(tone.code);
        low = static_cast<std::uint8_t>(value & 0xFF);
        kind = static_cast<std::uint8_t>((tone.inverted ? kDcsInverted : kDcsNormal) | value >> (kDcsValueBits - 1));
        return true;
    }
    case Tone::Kind::Ctcss: {
        if (tone.tenths < 0 || tone.tenths > kMaxWord)
            return false;
        const auto high = static_cast<std::uint8_t>(tone.tenths >> 8);
        if (high == kNoToneLow || high == kNoToneHigh || isDcsKind(high))
            return false;
        low = static_cast<std::uint8_t>(tone.tenths & 0xFF);
        kind = high;
        return true;
    }
    }
    return false;
}

bool IsStandard(const Tone &tone)
{
    const auto listed = [](std::span<const int> list, int value) { return std::ranges::find(list, value) != list.end(); };
    switch (tone.kind) {
    case Tone::Kind::None: return true;
    case Tone::Kind::Ctcss: return listed(ToneTable::CtcssTenths(), tone.tenths);
    case Tone::Kind::Dcs: return listed(ToneTable::ListedDcsCodes(), tone.code);
    }
    return false;
}

QString Name(const Tone &tone)
{
    switch (tone.kind) {
    case Tone::Kind::None: return QString();
    case Tone::Kind::Ctcss: return FormatScaled(tone.tenths, 1) + QStringLiteral(" Hz");
    case Tone::Kind::Dcs: return QString::asprintf("DCS %03d", tone.code);
    }
    return {};
}

} // namespace CsvValues
