#pragma once

#include "image/ImageMap.h"
#include "service/ServiceBand.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class CRadioImage;

// The transmitter power calibration table: for every frequency point of the band one byte per power
// level (low, middle, high), entry by entry from 0x3E0. Nine entries fill [0x3E0, 0x3FB) exactly.
namespace PowerTable {

constexpr int kLevels = ImageMap::kPowerTableEntrySize;
constexpr int kCapacity = ImageMap::kPowerTableEntries;
constexpr int kMaxValue = 255;

struct Row {
    int mhz = 0;
    std::array<int, kLevels> values {};
    bool operator==(const Row&) const = default;
};

// The image byte of point index i (0-based, within Points) and level 0 low, 1 middle, 2 high.
int Address(const CServiceBand& band, int index, int level);
// The points with room in the table, as the dialog lists them.
std::vector<int> Points(const CServiceBand& band);
// One row per point that has room, the values as the image holds them.
std::vector<Row> Rows(const CRadioImage& image, const CServiceBand& band);
// Stores one value (0..255) for point index i and a level.
void SetValue(CRadioImage& image, const CServiceBand& band, int index, int level, int value);
// The row index of a point, or -1 when the band has no entry for it.
int IndexOf(const CServiceBand& band, int mhz);

// What the cell takes for a typed text: whole numbers in decimal digits, anything above 255 as 255.
// A sign, a point, a letter or blanks inside give nothing: "12.5" is no 125 and "-1" no 1.
std::optional<QString> CellText(const QString& typed);
// The message for a text CellText refuses: "Out of range,please input again." and the allowed values.
QString RefusedMessage(bool chinese);

} // namespace PowerTable
