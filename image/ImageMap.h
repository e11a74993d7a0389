#pragma once

#include <cstddef>
#include <cstdint>

// Where things live in the radio's 1024-byte memory. Every offset counts from the first image byte.
namespace ImageMap {

constexpr int kImageSize = 1024;
constexpr int kRowSize = 16;
constexpr int kRowCount = kImageSize / kRowSize;
constexpr std::uint8_t kUnset = 0xFF;

// Channel n (1..16) is row n.
constexpr int kChannelCount = 16;
constexpr int kChannelRecordSize = 16;
constexpr int channelOffset(int channel) { return channel * kRowSize; }

// Byte positions inside a channel record.
namespace Channel {
constexpr int kRxFrequency = 0;  // 4 bytes packed BCD, 10 Hz units, low pair first
constexpr int kTxFrequency = 4;  // same encoding
constexpr int kDecodeTone = 8;   // tone word, low byte first
constexpr int kEncodeTone = 10;  // tone word
constexpr int kFlagsA = 12;      // bits 3-4 busy-channel lockout
constexpr int kFlagsB = 13;      // bit 4 bandwidth, bits 5-6 power
}

// Radio-wide options, one byte each.
constexpr int kVoiceAnnunciation = 0x12F;
constexpr int kTimeOutTimer = 0x130;
constexpr int kSquelchLevel = 0x134;
constexpr int kBatterySaver = 0x135;
constexpr int kBeep = 0x136;
constexpr int kVox = 0x139;
constexpr int kVoxGain = 0x13A;
constexpr int kVoxDelay = 0x13B;
constexpr int kPriorityChannel = 0x161;

// One scan bit per channel: channels 1-8 in the first byte, 9-16 in the second, bit 0 first.
constexpr int kScanFlags = 0x17E;

// Set to 'P' every time the channel grid is written into the image.
constexpr int kGridStoredMark = 0x1B8;
constexpr std::uint8_t kGridStoredValue = 0x50;

// Receiver and transmitter alignment; 0x30E also carries the band class value.
constexpr int kAlignmentStart = 0x300;
constexpr int kAlignmentEnd = 0x320; // exclusive
constexpr int kNarrowSquelchThreshold = 0x30E;

constexpr int kProductType = 0x32E;
constexpr int kFrequencyBand = 0x32F;

// Bits 4-5 hold the side key function; the other bits belong to the radio.
constexpr int kSideKey = 0x390;
constexpr int kSideKeyShift = 4;
constexpr std::uint8_t kSideKeyMask = 0x30;

// Transmitter power table: 9 entries of 3 bytes.
constexpr int kPowerTable = 0x3E0;
constexpr int kPowerTableEntries = 9;
constexpr int kPowerTableEntrySize = 3;

// The transfer plans stop before this byte; 0x3FB-0x3FF live only in data files.
constexpr int kTransferEnd = 0x3FB;

} // namespace ImageMap
