#pragma once

#include <QStringList>
#include <span>

// The squelch tones a channel can use: no tone, 53 CTCSS tones and 105 DCS codes in both polarities.
namespace ToneTable {

constexpr int kToneListSize = 264;
constexpr int kCtcssCount = 53;
constexpr int kListedDcsCount = 105;
constexpr int kKnownDcsCount = 107; // the listed codes plus 017 and 050

// The 264 texts of the tone editors: the no-tone text ("None", Chinese "无"), the CTCSS tones
// ascending, the DCS codes "DnnnN", then the same codes "DnnnI". The texts are exactly what the tone
// decoder produces, so a decoded cell finds itself in the list.
QStringList BuildToneList(bool chinese);

// CTCSS tones of the list, in tenths of a hertz.
std::span<const int> CtcssTenths();
// DCS codes of the list as written (023 is 23), ascending.
std::span<const int> ListedDcsCodes();

// The item of the tone list a typed text names, in the language asked for; empty when it names none.
// Taken: the no-tone text in either language and any case, a listed CTCSS tone as a number in Hz with a
// decimal point or comma and any zeros after its one decimal ("67" and "67,00" are 67.0), a listed DCS
// code as D, one to three octal digits and N or I, in any case ("d23n" is D023N); blanks around are
// ignored. Both the grid and program-cli set take exactly these texts.
QString ListedTone(const QString &typed, bool chinese);

} // namespace ToneTable

// From a stored 9-bit DCS value to the code written in octal digits (19 -> 23 for D023); 0 when the
// value is not a known code.
int DcsValueToCode(int value);
// From a code written in octal digits (23 for D023) to the low 8 bits of its stored value; 0 when the
// code is not known.
int DcsCodeToValue(int code);
