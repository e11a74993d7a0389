#pragma once

#include "dialogs/ProductCatalog.h"
#include "editor/ChannelCodec.h"
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

// The programmed channels, one row each, after the header line.
QByteArray Export(const CRadioImage &image);

struct Refusal
{
    int line = 0; // 0: the file as a whole
    QString reason;
};

// What an import would do to an image: the rows it can place and the ones it cannot. Nothing is
// written until Apply.
struct ImportPlan
{
    std::vector<std::pair<int, ChannelCodec::RowTexts>> rows; // channel 1..16, grid texts
    std::vector<Refusal> refusals;
    bool fileRefused = false; // no row can be read at all (no header, no Location or Frequency column)
    // Every row can be placed: a plain import may go ahead.
    bool IsClean() const { return !fileRefused && refusals.empty(); }
};

// Reads the rows of a file against the image they would go into, by the grid's rules: the band
// limits, the 5 kHz / 6.25 kHz steps and the tone list. A value equal to what the channel already
// shows is taken as it stands, so a file exported from this image always goes back in.
ImportPlan Plan(const QByteArray &bytes, const CRadioImage &image, BandLimits limits, bool chinese);
// Writes the plan's rows into their channels; the fields a row leaves as they were keep their bytes,
// and so do channels the file does not name. Returns the number of rows applied.
int Apply(const ImportPlan &plan, CRadioImage &image, bool chinese);

// "Line 7: ..." in the language asked for.
QString Describe(const Refusal &refusal, bool chinese);

} // namespace ChannelCsv
