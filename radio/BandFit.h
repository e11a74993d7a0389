#pragma once

#include "radio/ProductCatalog.h"

#include <QString>

#include <vector>

class CRadioImage;

// Which channels a band leaves out: after the radio was moved to another band, before a Write, and in
// program-cli write. A channel outside keeps its bytes; the user is told and decides.
namespace BandFit {

// Channels 1..16 whose receive frequency, or transmit frequency when it has one, lies outside the
// inclusive limits. Empty channels never do.
std::vector<int> OutsideChannels(const CRadioImage& image, BandLimits limits);
// "3, 7, 12".
QString ChannelNumbers(const std::vector<int>& channels);

// Product Information moved the radio to band: the channels that no longer fit it.
QString AfterBandChange(const std::vector<int>& channels, const QString& band, bool chinese);
// The question before a Write from the window (Yes writes them anyway).
QString BeforeWrite(const std::vector<int>& channels, const QString& band, bool chinese);
// program-cli write refuses the file unless --allow-out-of-band is given.
QString Refused(const std::vector<int>& channels, const QString& band, bool chinese);

} // namespace BandFit
