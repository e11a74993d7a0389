#pragma once

#include "radio/ProductCatalog.h"
#include "radio/ChannelCodec.h"
#include "image/RadioImage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The channel list as the comma-separated file radio users share between programming tools: one row
// per programmed channel, columns found by their header names.
namespace ChannelCsv {

// The 21 columns in the order export writes them.
QStringList HeaderNames();

// The programmed channels, one row each, after the header line. Power is written in watts and every
// tone column carries the row's own tone, so readers that take another column for a mode still
// program the right one.
QByteArray Export(const CRadioImage &image);
// One line per programmed channel whose tones are not in the standard tone list: exported as they
// are, but other programs may refuse the row.
QStringList ExportWarnings(const CRadioImage &image, bool chinese);

struct Refusal
{
    int line = 0; // 0: the file as a whole
    QString reason;
};

// The first Location as the file counts: 1, or 0 in a file that has a Location 0.
constexpr int kFileFirstLocation = -1;

// What an import would do to an image: the rows it can place and the ones it cannot. Nothing is
// written until Apply.
struct ImportPlan
{
    std::vector<std::pair<int, ChannelCodec::RowTexts>> rows; // channel 1..16, grid texts
    std::vector<Refusal> refusals;
    std::vector<Refusal> notes; // rows taken as they stand, with a word of warning
    bool fileRefused = false;   // no row can be read at all (no header, a quote never closed, ...)
    int firstLocation = 1;      // channels 1..16 take Locations firstLocation..firstLocation+15
    int leftOut = 0;            // rows outside those Locations when the first Location was chosen
    int beyond = 0;             // rows refused for Locations beyond channel 16 when it was not
    bool outOfBand = false;     // a refusal is a frequency outside the radio's band
    // Every row can be placed: a plain import may go ahead.
    bool IsClean() const { return !fileRefused && refusals.empty(); }
};

// Reads the rows of a file against the image they would go into, by the grid's rules: the band
// limits, the 5 kHz / 6.25 kHz steps and the tones a channel can hold. A value equal to what the
// channel already shows is taken as it stands, so a file exported from this image always goes back
// in. With a first Location L, Location L goes into channel 1, ... L+15 into channel 16 and rows
// outside are left out; without one, a Location beyond channel 16 is refused.
ImportPlan Plan(const QByteArray &bytes, const CRadioImage &image, BandLimits limits, bool chinese,
    int firstLocation = kFileFirstLocation);
// Writes the plan's rows into their channels; the fields a row leaves as they were keep their bytes,
// and so do channels the file does not name. Returns the number of rows applied.
int Apply(const ImportPlan &plan, CRadioImage &image, bool chinese);

// "Line 7: ..." in the language asked for.
QString Describe(const Refusal &refusal, bool chinese);
// "21–36": the Locations the plan's channels take.
QString LocationRange(const ImportPlan &plan);
// "left out 44 rows outside Locations 21–36"; empty when nothing was left out.
QString LeftOutText(const ImportPlan &plan, bool chinese);

// The Locations a file names, for choosing which 16 of them to take.
struct LocationRow
{
    int location = 0;
    int line = 0; // in the file, as refusals name it
    QString frequency, duplex, offset, tone; // as the file writes them
};
struct Locations
{
    bool readable = false; // the file names its columns
    int lowest = 0, highest = 0;
    int fileFirst = 1; // the Location of channel 1 as the file counts
    std::vector<LocationRow> rows; // the rows with a Location number, in file order
    // More Locations than the radio has channels: a first Location has to be chosen.
    bool BeyondChannels() const { return !rows.empty() && highest - fileFirst >= ImageMap::kChannelCount; }
};
Locations ListLocations(const QByteArray &bytes);

} // namespace ChannelCsv
