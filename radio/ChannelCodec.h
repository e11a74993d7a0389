#pragma once

#include "config/Language.h"
#include "image/RadioImage.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <span>

// Turns each field of a channel record into the text the channel grid shows and back. Decoding writes
// the current language; encoding accepts the English and the Chinese text of every value.
namespace ChannelCodec {

// Grid columns; column 0 is the channel number.
enum Column {
    kRxFrequency = 1,
    kTxFrequency,
    kDecodeTone,
    kEncodeTone,
    kBandwidth,
    kScan,
    kBusyLock,
    kPower,
};
constexpr int kFieldCount = 8;

// The 8 texts of grid columns 1..8 for one channel; index 0 is column 1.
using RowTexts = std::array<QString, kFieldCount>;

// Value texts in both languages.
inline constexpr CBilingual kNone { "None", "无" };
inline constexpr CBilingual kWide { "Wide", "宽" };
inline constexpr CBilingual kNarrow { "Narrow", "窄" };
inline constexpr CBilingual kYes { "Yes", "是" };
inline constexpr CBilingual kNo { "No", "否" };
inline constexpr CBilingual kOff { "Off", "关" };
inline constexpr CBilingual kCarrier { "Carrier", "载波" };
inline constexpr CBilingual kQtDqt { "QT/DQT", "QT/DQT" };
inline constexpr CBilingual kHigh { "High", "高" };
inline constexpr CBilingual kMiddle { "Middle", "中" };
inline constexpr CBilingual kLow { "Low", "低" };

// A channel is empty when the top digit pair of its receive frequency is 00 or FF. The grid shows a
// channel without a transmit frequency as empty too (ShownChannel.h); its receive frequency still
// counts here, for the band checks and the CSV files.
bool IsEmptyChannel(const CRadioImage &image, int channel);

RowTexts DecodeChannel(const CRadioImage &image, int channel, bool chinese);
// Writes the 8 texts into channel n in field order; bytes 14-15 of the record are never touched.
void EncodeChannel(CRadioImage &image, int channel, const RowTexts &texts);
// Writes all 16 channels as empty grid rows: what a new document made from the built-in defaults
// holds, so that saving it unchanged stores the rows the empty grid shows.
void EncodeEmptyChannels(CRadioImage &image);
// Writes the text of one grid column (1..8) into channel n; the bytes of the other fields stay.
void EncodeField(CRadioImage &image, int channel, int column, const QString &text);

// 4 BCD bytes, low pair first, to "%3.5f" MHz; empty when the top pair is 00 or FF.
QString DecodeFrequency(std::span<const std::uint8_t, 4> bytes);
// The typed text as a count of 10 Hz: atof (a comma counting as the decimal point), decimal
// multiply by 100000, truncation toward zero.
std::int64_t FrequencyUnits(const QString &text);
// A zero frequency becomes FF FF FF FF. A frequency the four BCD bytes cannot hold (1000 MHz and
// up, only ever decoded from bytes with nibbles above 9, or below zero) leaves the bytes as they were.
void EncodeFrequency(const QString &text, std::span<std::uint8_t, 4> bytes);

QString DecodeTone(std::uint8_t low, std::uint8_t kind, bool emptyChannel, bool chinese);
void EncodeTone(const QString &text, std::uint8_t &low, std::uint8_t &kind);

enum class FrequencyVerdict { Accepted, OutOfRange, OffStep };
struct FrequencyCheck
{
    FrequencyVerdict verdict;
    QString displayText; // "%3.5f" of the typed number; of the checked frequency when accepted
};
// Checks a typed frequency against the inclusive band limits (10 Hz units) and the 5 kHz / 6.25 kHz
// channel steps. "inf", "nan" and anything four BCD digit pairs cannot hold are out of range.
FrequencyCheck CheckFrequency(const QString &text, std::int64_t lowerLimit, std::int64_t upperLimit);

// The items a list column offers, in editor order (the tone list for columns 3 and 4).
QStringList ListItems(int column, bool chinese);

} // namespace ChannelCodec
