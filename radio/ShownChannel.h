#pragma once

#include "radio/ChannelCodec.h"

// What the grid, the printed report and program-cli show of a channel. A channel shows as empty when
// the top digit pair of its receive or of its transmit frequency is 00 or FF: a channel that has a
// receive frequency but transmit bytes of FF shows that frequency alone, with an empty transmit cell,
// empty W/N, Scan, Busy Lock and Power cells, and its tones only when the tone words hold some.
// (Its bytes stay as they are; the band checks and the CSV files still see its receive frequency.)
namespace ChannelCodec {

bool ShowsAsEmpty(const CRadioImage &image, int channel);
RowTexts DecodeShownChannel(const CRadioImage &image, int channel, bool chinese);

} // namespace ChannelCodec
