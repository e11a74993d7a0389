#include "radio/ChannelCodec.h"

#include "config/NumberParse.h"
#include "radio/DecimalMultiply.h"
#include "radio/ToneTable.h"

#include <cmath>

using namespace ImageMap;

namespace {

constexpr std::int64_t kUnitsPerMHz = 100000;
// Four BCD digit pairs hold 0 .. 999.99999 MHz.
constexpr std::int64_t kFrequencyCeiling = 100000000;
constexpr std::int64_t kStep5k = 500;
constexpr std::int64_t kStep625 = 625;

// Tone word kinds (second byte).
bool isNoTone(std::uint8_t kind) { return kind == 0x00 || kind == 0xFF; }
bool isDcsNormal(std::uint8_t kind) { return kind == 0x28 || kind == 0x29; }
bool isDcsInverted(std::uint8_t kind) { return kind == 0xA8 || kind == 0xA9; }
constexpr std::uint8_t kDcsNormalLow = 0x28, kDcsNormalHigh = 0x29;
constexpr std::uint8_t kDcsInvertedLow = 0xA8, kDcsInvertedHigh = 0xA9;
// Codes from 372 up (in fact from 411) have bit 8 of their value set.
constexpr int kDcsHighCodes = 372;

constexpr std::uint8_t kBusyMask = 0x18, kBusyCarrier = 0x08, kBusyTone = 0x10;
constexpr std::uint8_t kWideBit = 0x10;
constexpr std::uint8_t kPowerMask = 0x60, kPowerHigh = 0x20, kPowerMiddle = 0x40;

std::span<const std::uint8_t, 4> field4(std::span<const std::uint8_t, kRowSize> row, int at)
{
    return row.subspan(static_cast<std::size_t>(at)).first<4>();
}

std::span<std::uint8_t, 4> field4(std::span<std::uint8_t, kRowSize> row, int at)
{
    return row.subspan(static_cast<std::size_t>(at)).first<4>();
}

bool isEmptyTopPair(std::uint8_t b) { return b == 0x00 || b == 0xFF; }

} // namespace

namespace ChannelCodec {

bool IsEmptyChannel(const CRadioImage &image, int channel)
{
    return isEmptyTopPair(image.ChannelRecord(channel)[Channel::kRxFrequency + 3]);
}

QString DecodeFrequency(std::span<const std::uint8_t, 4> bytes)
{
    if (isEmptyTopPair(bytes[3]))
        return QString();
    std::int64_t value = 0;
    for (int k = 3; k >= 0; --k)
        value = value * 100 + (bytes[k] >> 4) * 10 + (bytes[k] & 0x0F); // nibbles above 9 count as they are
    return NumberParse::FormatFixed(static_cast<double>(value) / kUnitsPerMHz, 5);
}

std::int64_t FrequencyUnits(const QString &text)
{
    return NumberParse::TruncateToInt64(DecimalMultiply(NumberParse::AtofDecimalComma(text), kUnitsPerMHz));
}

void EncodeFrequency(const QString &text, std::span<std::uint8_t, 4> bytes)
{
    std::int64_t v = FrequencyUnits(text);
    if (v == 0) {
        std::fill(bytes.begin(), bytes.end(), kUnset);
        return;
    }
    if (v < 0 || v >= kFrequencyCeiling)
        return;
    std::int64_t d = 1000000;
    for (int k = 3; k >= 0; --k) {
        const std::int64_t q = v / d;
        v %= d;
        bytes[k] = static_cast<std::uint8_t>((q / 10) * 16 + q % 10);
        d /= 100;
    }
}

QString DecodeTone(std::uint8_t low, std::uint8_t kind, bool emptyChannel, bool chinese)
{
    if (isNoTone(kind))
        return emptyChannel ? QString() : kNone.Text(chinese);
    if (isDcsNormal(kind) || isDcsInverted(kind)) {
        const int code = DcsValueToCode((kind & 1) * 256 + low);
        return QString::asprintf(isDcsNormal(kind) ? "D%03dN" : "D%03dI", code);
    }
    return NumberParse::FormatFixed((kind * 256 + low) / 10.0, 1);
}

void EncodeTone(const QString &text, std::uint8_t &low, std::uint8_t &kind)
{
    if (text.contains(QLatin1Char('D'))) {
        const QString rest = text.mid(1);
        const int code = NumberParse::Atoi(rest);
        low = static_cast<std::uint8_t>(DcsCodeToValue(code));
        const bool high = code >= kDcsHighCodes;
        if (rest.contains(QLatin1Char('N')))
            kind = high ? kDcsNormalHigh : kDcsNormalLow;
        else
            kind = high ? kDcsInvertedHigh : kDcsInvertedLow;
        return;
    }
    const std::int64_t v = NumberParse::TruncateToInt64(DecimalMultiply(NumberParse::Atof(text), 10));
    if (v == 0) {
        low = kind = kUnset;
        return;
    }
    // A 16-bit count of 0.1 Hz, low byte first.
    const auto word = static_cast<std::uint16_t>(static_cast<std::uint64_t>(v));
    low = static_cast<std::uint8_t>(word & 0xFF);
    kind = static_cast<std::uint8_t>(word >> 8);
}

RowTexts DecodeChannel(const CRadioImage &image, int channel, bool chinese)
{
    const auto row = image.ChannelRecord(channel);
    const bool empty = IsEmptyChannel(image, channel);
    RowTexts t;
    t[kRxFrequency - 1] = DecodeFrequency(field4(row, Channel::kRxFrequency));
    t[kTxFrequency - 1] = DecodeFrequency(field4(row, Channel::kTxFrequency));
    t[kDecodeTone - 1] = DecodeTone(row[Channel::kDecodeTone], row[Channel::kDecodeTone + 1], empty, chinese);
    t[kEncodeTone - 1] = DecodeTone(row[Channel::kEncodeTone], row[Channel::kEncodeTone + 1], empty, chinese);
    if (empty)
        return t;
    const std::uint8_t a = row[Channel::kFlagsA];
    const std::uint8_t b = row[Channel::kFlagsB];
    t[kBandwidth - 1] = (b & kWideBit ? kWide : kNarrow).Text(chinese);
    t[kScan - 1] = (image.ScanFlag(channel) ? kYes : kNo).Text(chinese);
    switch (a & kBusyMask) {
    case 0x00: t[kBusyLock - 1] = kOff.Text(chinese); break;
    case kBusyCarrier: t[kBusyLock - 1] = kCarrier.Text(chinese); break;
    default: t[kBusyLock - 1] = kQtDqt.Text(chinese); break;
    }
    switch (b & kPowerMask) {
    case 0x00: t[kPower - 1] = kLow.Text(chinese); break;
    case kPowerMiddle: t[kPower - 1] = kMiddle.Text(chinese); break;
    default: t[kPower - 1] = kHigh.Text(chinese); break;
    }
    return t;
}

void EncodeChannel(CRadioImage &image, int channel, const RowTexts &t)
{
    for (int column = kRxFrequency; column <= kPower; ++column)
        EncodeField(image, channel, column, t[column - 1]);
}

void EncodeEmptyChannels(CRadioImage &image)
{
    for (int channel = 1; channel <= ImageMap::kChannelCount; ++channel)
        EncodeChannel(image, channel, RowTexts {});
}

void EncodeField(CRadioImage &image, int channel, int column, const QString &text)
{
    auto row = image.ChannelRecord(channel);
    std::uint8_t &a = row[Channel::kFlagsA];
    std::uint8_t &b = row[Channel::kFlagsB];
    switch (column) {
    case kRxFrequency: EncodeFrequency(text, field4(row, Channel::kRxFrequency)); break;
    case kTxFrequency: EncodeFrequency(text, field4(row, Channel::kTxFrequency)); break;
    case kDecodeTone: EncodeTone(text, row[Channel::kDecodeTone], row[Channel::kDecodeTone + 1]); break;
    case kEncodeTone: EncodeTone(text, row[Channel::kEncodeTone], row[Channel::kEncodeTone + 1]); break;
    case kBandwidth:
        if (kNarrow.Matches(text))
            b &= ~kWideBit;
        else
            b |= kWideBit; // "Wide" and anything else
        break;
    case kScan: image.SetScanFlag(channel, !kNo.Matches(text)); break;
    case kBusyLock:
        a &= ~kBusyMask;
        if (kCarrier.Matches(text))
            a |= kBusyCarrier;
        else if (!kOff.Matches(text))
            a |= kBusyTone;
        break;
    case kPower:
        b &= ~kPowerMask;
        if (kMiddle.Matches(text))
            b |= kPowerMiddle;
        else if (!kLow.Matches(text))
            b |= kPowerHigh; // "High" and anything else
        break;
    default: break;
    }
}

FrequencyCheck CheckFrequency(const QString &text, std::int64_t lowerLimit, std::int64_t upperLimit)
{
    const double f = NumberParse::AtofDecimalComma(text);
    FrequencyCheck result { FrequencyVerdict::Accepted, NumberParse::FormatFixed(f, 5) };
    const std::int64_t v = FrequencyUnits(text);
    // Beyond what four BCD digit pairs can store counts as out of range whatever the band says, and
    // so do "inf" and "nan", which have no value to store at all.
    if (!std::isfinite(f) || v < lowerLimit || v > upperLimit || v < 0 || v >= kFrequencyCeiling)
        result.verdict = FrequencyVerdict::OutOfRange;
    else if (v % kStep5k != 0 && v % kStep625 != 0)
        result.verdict = FrequencyVerdict::OffStep;
    else
        // The frequency that passed the checks, not the typed number rounded to five decimals:
        // "146.520009" passes as 14652000 and must not come back as the off-step 146.52001.
        result.displayText = NumberParse::FormatFixed(static_cast<double>(v) / kUnitsPerMHz, 5);
    return result;
}

QStringList ListItems(int column, bool chinese)
{
    switch (column) {
    case kDecodeTone:
    case kEncodeTone: return ToneTable::BuildToneList(chinese);
    case kBandwidth: return { kWide.Text(chinese), kNarrow.Text(chinese) };
    case kScan: return { kYes.Text(chinese), kNo.Text(chinese) };
    case kBusyLock: return { kOff.Text(chinese), kCarrier.Text(chinese), kQtDqt.Text(chinese) };
    case kPower: return { kHigh.Text(chinese), kMiddle.Text(chinese), kLow.Text(chinese) };
    default: return {};
    }
}

} // namespace ChannelCodec
