#pragma once

#include "radio/ProductCatalog.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <utility>

// The second line under a refused frequency: which channel, what was typed, and what the radio takes
// instead (the band as the band list names it, or the nearest frequencies on a channel step).
namespace CellMessage {

// "Channel 5: 480 MHz is outside the band 400 - 470MHz, which takes 400 to 471 MHz (all of
// 470.xxxxx included)." Without a band text the limits alone: "... is outside 0 to 1 MHz."
QString OutOfRange(int channel, const QString &typed, BandLimits limits, const QString &bandText, bool chinese);

// "Channel 5: 146.5123 MHz is not on a 5 kHz or 6.25 kHz step. Nearest: 146.51 or 146.5125 MHz."
QString OffStep(int channel, const QString &typed, BandLimits limits, bool chinese);

// The valid frequencies (multiples of 500 or 625 in 10 Hz units) just below and just above units,
// each only when it lies inside the inclusive limits.
std::pair<std::optional<std::int64_t>, std::optional<std::int64_t>> NearestSteps(std::int64_t units, BandLimits limits);

// 10 Hz units as MHz without trailing zeros: 14651250 gives "146.5125", 40000000 "400".
QString Megahertz(std::int64_t units);

} // namespace CellMessage
