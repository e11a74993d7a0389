#pragma once

#include "image/RadioImage.h"

#include <QString>
#include <utility>
#include <vector>

// Bytes that differ where no channel column or option tells the difference, named as the radio's memory
// is laid out: "Channel 10 flag bytes 12-13 (0x0AC-0x0AD)", "Power table entry 3, bytes 0x3E6-0x3E8",
// and, where the map knows them, what the bits that differ are.
namespace DiffBytes {

// [from, end) cut where one thing of the map ends and the next begins: a channel's frequencies, tones,
// flag bytes and last two bytes, the scan bytes, each option byte, each power table entry, ...
std::vector<std::pair<int, int>> Split(int from, int end);
// The name of a piece that Split made.
QString Name(int from, int end, bool chinese);
// The bits that differ between first and second in [from, end), by what they are: "byte 12 bit 4:
// busy-channel lockout; byte 12 bits 0-2, 5-7: not used by this program". Empty where the map has no
// bit-by-bit meaning (frequencies, tones, tables).
QString Bits(const CRadioImage& first, const CRadioImage& second, int from, int end, bool chinese);
// The power and alignment tables, which only a service-mode write sends.
bool IsServiceTable(int address);

} // namespace DiffBytes
