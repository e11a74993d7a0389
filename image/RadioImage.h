#pragma once

#include "image/ImageMap.h"

#include <array>
#include <cstdint>
#include <span>

// The radio's programmable memory, byte for byte: 64 rows of 16 bytes. Every grid cell and dialog
// field is a view onto bytes of this image; 0xFF is the unset value.
class CRadioImage
{
public:
    using Bytes = std::array<std::uint8_t, ImageMap::kImageSize>;

    // A fresh image holds 0xFF everywhere.
    CRadioImage() { Fill(); }

    std::uint8_t Byte(int offset) const { return m_Bytes.at(static_cast<std::size_t>(offset)); }
    void SetByte(int offset, std::uint8_t value) { m_Bytes.at(static_cast<std::size_t>(offset)) = value; }

    // The 16 bytes of row r (0..63).
    std::span<const std::uint8_t, ImageMap::kRowSize> Row(int row) const;
    std::span<std::uint8_t, ImageMap::kRowSize> Row(int row);

    // Channel n (1..16) is row n.
    std::span<const std::uint8_t, ImageMap::kRowSize> ChannelRecord(int channel) const;
    std::span<std::uint8_t, ImageMap::kRowSize> ChannelRecord(int channel);

    // Sets all 1024 bytes to 0xFF.
    void Fill();
    // The contents of a new image when no "Default.dat" is at hand: the fill, then the option
    // defaults, the side key and the power table.
    void ApplyDefaults();

    // Copies bytes into the image at offset; the range must lie inside the image.
    void CopyIn(int offset, std::span<const std::uint8_t> bytes);
    // Copies length bytes starting at offset out of the image.
    std::span<const std::uint8_t> Range(int offset, int length) const;

    bool ScanFlag(int channel) const;
    void SetScanFlag(int channel, bool inScan);

    const Bytes &Data() const { return m_Bytes; }
    Bytes &Data() { return m_Bytes; }

    bool operator==(const CRadioImage &) const = default;

private:
    Bytes m_Bytes;
};
