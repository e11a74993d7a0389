#pragma once

#include "radio/ProductCatalog.h"

#include <QString>

#include <vector>

class CIniFile;
class CRadioImage;

// A file or radio whose type or band byte names no item of the configuration's lists. Its typed
// frequencies are checked as for any other: against the band item the bytes select, the last item of
// the type's list when the band byte lies past it, and 0 to 1 MHz when the type has no band at all.
// The user is told so, since the title can only say "Unknown".
namespace UnlistedBand {

// Empty when both bytes are listed; else the line the status bar shows.
QString StatusNote(const CIniFile &ini, const CRadioImage &image, bool chinese);
// The band the bytes select, as frequencies are checked against it: "450 - 520MHz", or what none means.
QString CheckedBand(const CIniFile &ini, const CRadioImage &image, bool chinese);
// program-cli write's refusal of such a file, for the channels outside the band it is checked against.
QString WriteRefusal(const CIniFile &ini, const CRadioImage &image, const std::vector<int> &outside, bool chinese);

} // namespace UnlistedBand
