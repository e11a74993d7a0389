#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// The numbers and tones of a channel row, as the CSV columns write them and as the grid shows them.
namespace CsvValues {

// Frequencies in the file are MHz with up to six decimals; the image counts in units of 10 Hz.
constexpr int kMhzDecimals = 6;
constexpr std::int64_t kHzPerGridUnit = 10;

// "146.52" with decimals 6 gives 146520000. Digits only, one optional point, blanks around allowed;
// digits past the given decimals must be zeros. Anything else, or a value beyond 10^12, gives nothing.
std::optional<std::int64_t> ParseScaled(const QString &text, int decimals);
// 146520000 with decimals 6 gives "146.520000".
QString FormatScaled(std::int64_t value, int decimals);

// The grid's frequency text ("146.52000", 10 Hz units) to hertz and back.
std::optional<std::int64_t> GridTextToHz(const QString &text);
QString HzToGridText(std::int64_t hz);

struct Tone
{
    enum class Kind { None, Ctcss, Dcs };
    Kind kind = Kind::None;
    int tenths = 0;        // CTCSS, tenths of a hertz
    int code = 0;          // DCS, as written in octal digits (23 for D023)
    bool inverted = false; // DCS polarity
};
// A tone cell's text in either language: "" or the no-tone text, "88.5", "D023N", "D023I".
Tone FromGridText(const QString &text);
QString ToGridText(const Tone &tone, bool chinese);

// The tone a channel's tone word holds (low byte first), DCS codes the grid cannot name included.
Tone FromToneWord(std::uint8_t low, std::uint8_t kind);
// The tone word that holds the tone; false when no word can (a CTCSS value whose high byte would
// read as no tone or as DCS, a DCS code with digits above 7 or beyond 777).
bool ToToneWord(const Tone &tone, std::uint8_t &low, std::uint8_t &kind);
// No tone, or a tone of the radio's tone list: every programming tool knows these.
bool IsStandard(const Tone &tone);
// "69.4 Hz", "DCS 017".
QString Name(const Tone &tone);

} // namespace CsvValues
