#include "csv/ImportPreview.h"

#include <algorithm>

namespace ImportPreview {

std::vector<Row> Rows(const ChannelCsv::Locations &locations, const ChannelCsv::ImportPlan &plan)
{
    std::vector<Row> out;
    const int first = plan.firstLocation;
    for (const ChannelCsv::LocationRow &fileRow : locations.rows) {
        if (fileRow.location < first || fileRow.location > first + ImageMap::kChannelCount - 1)
            continue;
        Row row;
        row.channel = fileRow.location - first + 1;
        row.location = fileRow.location;
        const auto onLine = [&fileRow](const ChannelCsv::Refusal &r) { return r.line == fileRow.line; };
        if (const auto refusal = std::find_if(plan.refusals.begin(), plan.refusals.end(), onLine);
            refusal != plan.refusals.end()) {
            row.refused = true;
            row.note = refusal->reason;
        } else {
            // A channel given twice is refused on its later line, so the row not refused is the one placed.
            for (const auto &[channel, texts] : plan.rows)
                if (channel == row.channel)
                    row.texts = texts;
            if (const auto note = std::find_if(plan.notes.begin(), plan.notes.end(), onLine); note != plan.notes.end())
                row.note = note->reason;
        }
        out.push_back(row);
    }
    std::stable_sort(out.begin(), out.end(), [](const Row &a, const Row &b) { return a.channel < b.channel; });
    return out;
}

} // namespace ImportPreview
