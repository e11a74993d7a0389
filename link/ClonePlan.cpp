#include "link/ClonePlan.h"

#include "image/ImageMap.h"

#include <algorithm>

namespace ClonePlan {

std::vector<CCloneBlock> PlanBlocks(std::span<const CCloneSegment> segments)
{
    std::vector<CCloneBlock> blocks;
    for (const CCloneSegment &segment : segments) {
        const int end = std::min(segment.end, ImageMap::kImageSize);
        int address = std::max(segment.start, 0);
        while (address < end) {
            const int toBoundary = kBlockAlignment - address % kBlockAlignment;
            const int length = std::min(toBoundary, end - address);
            blocks.push_back({ address, length });
            address += length;
        }
    }
    return blocks;
}

std::vector<CCloneSegment> ReadPlan()
{
    return { { 0, ImageMap::kTransferEnd } };
}

std::vector<CCloneSegment> WritePlan(bool serviceAccess)
{
    if (serviceAccess)
        return ReadPlan();
    return { { 0, ImageMap::kAlignmentStart }, { ImageMap::kAlignmentEnd, ImageMap::kPowerTable } };
}

std::vector<CCloneBlock> ReadBlocks()
{
    return PlanBlocks(ReadPlan());
}

std::vector<CCloneBlock> WriteBlocks(bool serviceAccess)
{
    return PlanBlocks(WritePlan(serviceAccess));
}

} // namespace ClonePlan
