#pragma once

#include "link/ClonePlan.h"

#include <array>
#include <cstdint>

class CRadioImage;
class CSerialPort;

// The tool's side of the clone protocol: link opening, read and write block exchanges. Each operation
// works on an open, configured port and reports only success or failure; the caller says what it
// means to the user.
namespace CloneProtocol {

constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kModeByte = 0x02;
constexpr std::uint8_t kReadCommand = 0x52; // 'R'
constexpr std::uint8_t kWriteCommand = 0x57; // 'W'
// The wake-up sequence (0x02 "PROGRAN") and the mode byte, kept as one constant; the zeros are never
// sent.
constexpr std::array<std::uint8_t, 16> kLinkOpening
    = { 0x02, 0x50, 0x52, 0x4F, 0x47, 0x52, 0x41, 0x4E, kModeByte, 0, 0, 0, 0, 0, 0, 0 };
constexpr int kWakeUpSize = 8;
constexpr int kModeAnswerSize = 8;
constexpr int kWakeUpAttempts = 4;
constexpr int kWakeUpPauseMs = 2; // before each wake-up byte
constexpr int kFrameHeaderSize = 4;
constexpr int kMaxBlockLength = 16;

// Why an exchange failed: nothing (or too little) came back, or the radio answered with something
// other than what the step expects (a refusal).
enum class Failure { None, NoAnswer, Refused };

// The 4-byte frame header: command, address high, address low, length.
std::array<std::uint8_t, kFrameHeaderSize> FrameHeader(std::uint8_t command, const CCloneBlock &block);

// Wakes the radio and opens the link: purge once, up to four wake-ups of 8 bytes sent one byte per
// write after 2 ms each, the mode byte with its 8-byte answer, then the confirm. pauseAfterWakeUp adds
// a further 2 ms after the eighth byte of each wake-up (the service write waits that long).
bool OpenLink(CSerialPort &port, bool pauseAfterWakeUp = false, Failure *failure = nullptr);
// Reads one block from the radio; its bytes land in destination at the block's address as soon as
// they are in, before the acknowledgement. The radio's 4-byte answer header is not examined, but a
// header that does not fully arrive within the read's time-outs fails the block.
bool ReadBlock(CSerialPort &port, const CCloneBlock &block, CRadioImage &destination, Failure *failure = nullptr);
// Sends one block of source with its frame header and waits for the radio's acknowledgement.
// Each operation that fails says why in failure, when given.
bool WriteBlock(CSerialPort &port, const CCloneBlock &block, const CRadioImage &source, Failure *failure = nullptr);

} // namespace CloneProtocol
