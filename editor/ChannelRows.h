#pragma once

#include "radio/ProductCatalog.h"
#include "radio/ChannelCodec.h"
#include "image/RadioImage.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

// Whole-channel editing over the image: clear, delete, insert, move, sort, and the tab-separated text
// that cut, copy and paste exchange with spreadsheets. Channels move as the radio holds them (the
// 16-byte record and the scan bit), so bytes the grid does not show travel with their channel.
namespace ChannelRows {

// One channel as the radio keeps it.
struct Slot {
    std::array<std::uint8_t, ImageMap::kChannelRecordSize> record {};
    bool scan = true;
    bool operator==(const Slot&) const = default;
};

// Channels first..last, both inclusive, 1..16.
struct Range {
    int first = 1;
    int last = 1;
    int Count() const { return last - first + 1; }
    bool IsValid() const { return first >= 1 && last <= ImageMap::kChannelCount && first <= last; }
};

Slot Take(const CRadioImage& image, int channel);
void Put(CRadioImage& image, int channel, const Slot& slot);
// An unprogrammed channel: every record byte 0xFF and the scan bit set, as in a blank radio.
Slot EmptySlot();

// The channels of range become unprogrammed; the others stay where they are.
void Clear(CRadioImage& image, Range range);
// The channels of range go; the later ones move up and the last places become unprogrammed.
void Remove(CRadioImage& image, Range range);
// count unprogrammed channels before channel at, the later ones moving down. Refused (false, nothing
// changed) when a programmed channel would be pushed beyond channel 16.
bool Insert(CRadioImage& image, int at, int count);
// The channels of range move one place up (delta -1) or down (+1), the neighbour taking the freed
// place; false at the first or last channel.
bool Move(CRadioImage& image, Range range, int delta);
// Programmed channels by ascending receive frequency (equal ones keep their order), then the empty.
void SortByReceive(CRadioImage& image);

// One line per channel: its number and the grid's 8 texts, separated by tabs.
QString CopyText(const CRadioImage& image, Range range, bool chinese);

struct PasteResult {
    std::vector<ChannelCodec::RowTexts> rows; // in the grid's texts of the current language
    QStringList errors; // one per refused line, with its number and reason
    bool ok() const { return errors.isEmpty() && !rows.empty(); }
};
// Reads tab-separated lines by the grid's rules: frequencies within the band limits and on a channel
// step, tones and choices from the grid's lists in either language (a tone as a spreadsheet shortens
// it, "67", counts as "67.0"). Lines may carry the channel number first; header lines are skipped.
// Blank cells of a channel take the values a new channel gets; an empty line is an empty channel.
PasteResult ParsePaste(const QString& text, BandLimits limits, bool chinese);
// Writes rows (texts of the language chinese) into the channels from at on; false, and nothing
// changed, when they do not fit.
bool ApplyPaste(CRadioImage& image, int at, const std::vector<ChannelCodec::RowTexts>& rows, bool chinese);

// Messages for what the window reports.
QString InsertRefusedMessage(bool chinese);
QString PasteTooLongMessage(int rows, int at, bool chinese);
QString NothingToPasteMessage(bool chinese);

} // namespace ChannelRows
