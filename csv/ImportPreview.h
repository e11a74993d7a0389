#pragma once

#include "csv/ChannelCsv.h"

#include <QString>
#include <vector>

// What the Import CSV preview shows of each row the 16 channels take: the channel as it will be
// stored, or why the row will be refused.
namespace ImportPreview {

struct Row
{
    int channel = 0;  // 1..16
    int location = 0; // as the file numbers it
    ChannelCodec::RowTexts texts {}; // the grid's texts once imported; all empty for a refused row
    QString note;     // why the row is refused, or a word of warning on a row taken as it stands
    bool refused = false;
};

// The rows of locations that plan places from its first Location on, in channel order; a Location
// given twice keeps its file order.
std::vector<Row> Rows(const ChannelCsv::Locations &locations, const ChannelCsv::ImportPlan &plan);

} // namespace ImportPreview
