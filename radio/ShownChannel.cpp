#include "radio/ShownChannel.h"

namespace ChannelCodec {

bool ShowsAsEmpty(const CRadioImage &image, int channel)
{
    const auto row = image.ChannelRecord(channel);
    const std::uint8_t txTop = row[ImageMap::Channel::kTxFrequency + 3];
    return IsEmptyChannel(image, channel) || txTop == 0x00 || txTop == 0xFF;
}

RowTexts DecodeShownChannel(const CRadioImage &image, int channel, bool chinese)
{
    RowTexts texts = DecodeChannel(image, channel, chinese);
    if (IsEmptyChannel(image, channel) || !ShowsAsEmpty(image, channel))
        return texts;
    // Receive frequency set, transmit bytes empty: shown as an empty channel, its receive frequency aside.
    const auto row = image.ChannelRecord(channel);
    const int decodeAt = ImageMap::Channel::kDecodeTone;
    const int encodeAt = ImageMap::Channel::kEncodeTone;
    texts[kDecodeTone - 1] = DecodeTone(row[decodeAt], row[decodeAt + 1], true, chinese);
    texts[kEncodeTone - 1] = DecodeTone(row[encodeAt], row[encodeAt + 1], true, chinese);
    for (int col = kBandwidth; col <= kPower; ++col)
        texts[col - 1].clear();
    return texts;
}

} // namespace ChannelCodec
