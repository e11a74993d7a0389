// Channel lists from anywhere: planning an import must never fail in a way other than a refusal, and
// applying what it accepts touches nothing but the channels. Whatever the channels then hold, their
// export goes back into the same image without a refusal and without a change.
#include "fuzz/FuzzOptions.h"
#include "csv/ChannelCsv.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool isChannelByte(int at)
{
    return (at >= ImageMap::channelOffset(1) && at < ImageMap::channelOffset(ImageMap::kChannelCount + 1))
        || at == ImageMap::kScanFlags || at == ImageMap::kScanFlags + 1 || at == ImageMap::kGridStoredMark;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const bool chinese = size % 2;
    CRadioImage image;
    image.ApplyDefaults();
    const CRadioImage before = image;
    const ChannelCsv::ImportPlan plan = ChannelCsv::Plan(bytes, image, { 13000000, 17500000 }, chinese);
    for (const ChannelCsv::Refusal& refusal : plan.refusals)
        check(!refusal.reason.isEmpty());
    ChannelCsv::Apply(plan, image, chinese);
    for (int at = 0; at < ImageMap::kImageSize; ++at)
        check(isChannelByte(at) || image.Byte(at) == before.Byte(at));

    const QByteArray exported = ChannelCsv::Export(image);
    CRadioImage back = image;
    const ChannelCsv::ImportPlan again = ChannelCsv::Plan(exported, back, { 0, 0 }, !chinese);
    check(again.IsClean());
    ChannelCsv::Apply(again, back, !chinese);
    check(back == image);
    return 0;
}
