#pragma once

#include "radio/ProductCatalog.h"

#include <QString>

// The mark on a frequency cell that lies outside the radio's band, as it is left after the band was
// changed in Product Information: shown in the grid until the channel is brought into the band. The
// channel keeps its bytes; printing and saving do not see the mark.
namespace BandMark {

// Whether a frequency cell's text names a frequency outside the inclusive limits; an empty cell never does.
bool IsOutside(const QString &frequencyText, BandLimits limits);

// The cell's tool tip: "Outside the band 400 - 470MHz (400 to 471 MHz). Kept as it is; Write asks
// before sending it. Type a frequency of the band to clear the mark."
QString ToolTip(const QString &bandText, BandLimits limits, bool chinese);

} // namespace BandMark
