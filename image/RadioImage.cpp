#include "image/RadioImage.h"

#include <algorithm>
#include <stdexcept>

using namespace ImageMap;

namespace {

struct DefaultByte
{
    int offset;
    std::uint8_t value;
};

// Options of a new radio: Chinese voice, 45 s time-out, squelch 5, saver and beep on, VOX off at
// gain 5 and 0.3 s, no priority channel, side key on emergency alarm.
constexpr DefaultByte kOptionDefaults[] = {
    { kVoiceAnnunciation, 0x01 }, { kTimeOutTimer, 0x03 }, { kSquelchLevel, 0x05 },
    { kBatterySaver, 0x01 },      { kBeep, 0x01 },         { kVox, 0x00 },
    { kVoxGain, 0x05 },           { kVoxDelay, 0x00 },     { kPriorityChannel, 0x00 },
    { kSideKey, 0xF9 },
};

constexpr std::uint8_t kPowerEntryDefault[kPowerTableEntrySize] = { 0x4D, 0x9B, 0xFF };

void checkRange(int offset, std::size_t length)
{
    if (offset < 0 || offset > kImageSize || length > static_cast<std::size_t>(kImageSize - offset))
        throw std::out_of_range("radio image range");
}

} // namespace

std::span<const std::uint8_t, kRowSize> CRadioImage::Row(int row) const
{
    checkRange(row * kRowSize, kRowSize);
    return std::span<const std::uint8_t, kRowSize>(m_Bytes.data() + row * kRowSize, kRowSize);
}

std::span<std::uint8_t, kRowSize> CRadioImage::Row(int row)
{
    checkRange(row * kRowSize, kRowSize);
    return std::span<std::uint8_t, kRowSize>(m_Bytes.data() + row * kRowSize, kRowSize);
}

std::span<const std::uint8_t, kRowSize> CRadioImage::ChannelRecord(int channel) const
{
    if (channel < 1 || channel > kChannelCount)
        throw std::out_of_range("channel number");
    return Row(channel);
}

std::span<std::uint8_t, kRowSize> CRadioImage::ChannelRecord(int channel)
{
    if (channel < 1 || channel > kChannelCount)
        throw std::out_of_range("channel number");
    return Row(channel);
}

void CRadioImage::Fill()
{
    m_Bytes.fill(kUnset);
}

void CRadioImage::ApplyDefaults()
{
    Fill();
    for (const DefaultByte &d : kOptionDefaults)
        SetByte(d.offset, d.value);
    for (int k = 0; k < kPowerTableEntries; ++k)
        CopyIn(kPowerTable + k * kPowerTableEntrySize, kPowerEntryDefault);
}

void CRadioImage::CopyIn(int offset, std::span<const std::uint8_t> bytes)
{
    checkRange(offset, bytes.size());
    std::copy(bytes.begin(), bytes.end(), m_Bytes.begin() + offset);
}

std::span<const std::uint8_t> CRadioImage::Range(int offset, int length) const
{
    if (length < 0)
        throw std::out_of_range("radio image range");
    checkRange(offset, static_cast<std::size_t>(length));
    return std::span<const std::uint8_t>(m_Bytes.data() + offset, static_cast<std::size_t>(length));
}

bool CRadioImage::ScanFlag(int channel) const
{
    if (channel < 1 || channel > kChannelCount)
        throw std::out_of_range("channel number");
    const int bit = (channel - 1) % 8;
    return (Byte(kScanFlags + (channel - 1) / 8) >> bit) & 1;
}

void CRadioImage::SetScanFlag(int channel, bool inScan)
{
    if (channel < 1 || channel > kChannelCount)
        throw std::out_of_range("channel number");
    const int offset = kScanFlags + (channel - 1) / 8;
    const std::uint8_t mask = static_cast<std::uint8_t>(1u << ((channel - 1) % 8));
    SetByte(offset, inScan ? (Byte(offset) | mask) : (Byte(offset) & ~mask));
}
