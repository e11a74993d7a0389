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

// The image with every byte an import may write taken from `from`: it must then equal `from`.
CRadioImage withImportBytesOf(CRadioImage image, const CRadioImage& from)
{
    const int first = ImageMap::channelOffset(1);
    image.CopyIn(first, from.Range(first, ImageMap::channelOffset(ImageMap::kChannelCount + 1) - first));
    for (int at : { ImageMap::kScanFlags, ImageMap::kScanFlags + 1, ImageMap::kGridStoredMark })
        image.SetByte(at, from.Byte(at));
    return image;
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
    check(withImportBytesOf(image, before) == before);

    const QByteArray exported = ChannelCsv::Export(image);
    CRadioImage back = image;
    const ChannelCsv::ImportPlan again = ChannelCsv::Plan(exported, back, { 0, 0 }, !chinese);
    check(again.IsClean());
    ChannelCsv::Apply(again, back, !chinese);
    check(back == image);
    return 0;
}
