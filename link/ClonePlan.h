#pragma once

#include <span>
#include <vector>

// A half-open range [start, end) of image addresses.
struct CCloneSegment {
    int start;
    int end;
};

// One block frame: at most 16 bytes that never cross a 16-byte boundary.
struct CCloneBlock {
    int address;
    int length;
    bool operator==(const CCloneBlock &) const = default;
};

// The address plans of the channel Read and Write and the rule that cuts them into blocks.
namespace ClonePlan {

constexpr int kBlockAlignment = 16;

// The blocks of segments in order: each block runs to the next 16-byte boundary or to the end of its
// segment, whichever comes first. Addresses outside the image are left out.
std::vector<CCloneBlock> PlanBlocks(std::span<const CCloneSegment> segments);

// [0, 1019): the whole image but its last five bytes, which live only in data files.
std::vector<CCloneSegment> ReadPlan();
// Without service access an ordinary write leaves the radio's alignment areas 0x300-0x31F and
// 0x3E0-0x3FF alone: [0, 768) then [800, 992). With service access it sends what a read takes.
std::vector<CCloneSegment> WritePlan(bool serviceAccess);

std::vector<CCloneBlock> ReadBlocks();
std::vector<CCloneBlock> WriteBlocks(bool serviceAccess);

} // namespace ClonePlan
