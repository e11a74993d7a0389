#pragma once

#include <QString>

// What a byte of the radio's memory holds, named as a user knows it: 0x092 is "channel 9's receive
// frequency", 0x130 "the time-out timer". Used where a single address has to be explained (a verify
// that found a different byte).
namespace ImageField {

QString Describe(int address, bool chinese);

} // namespace ImageField
