#include "link/CloneProtocol.h"

#include "image/RadioImage.h"
#include "link/SerialPort.h"

#include <span>

namespace CloneProtocol {

namespace {

// The protocol's receive buffer is cleared before each answer it looks at; a read that returns no
// byte never lets an older byte pass for an acknowledgement.
bool ReadAck(CSerialPort &port)
{
    std::uint8_t answer = 0;
    const CSerialPort::ReadResult result = port.Read(&answer, 1);
    return !result.failed && result.count == 1 && answer == kAck;
}

bool SendAckAndExpectAck(CSerialPort &port)
{
    port.Purge();
    port.Write(&kAck, 1);
    return ReadAck(port);
}

bool IsValid(const CCloneBlock &block)
{
    return block.length >= 1 && block.length <= kMaxBlockLength && block.address >= 0
        && block.address + block.length <= ImageMap::kImageSize;
}

} // namespace

std::array<std::uint8_t, kFrameHeaderSize> FrameHeader(std::uint8_t command, const CCloneBlock &block)
{
    return { command, static_cast<std::uint8_t>((block.address >> 8) & 0xFF),
        static_cast<std::uint8_t>(block.address & 0xFF), static_cast<std::uint8_t>(block.length) };
}

bool OpenLink(CSerialPort &port, bool pauseAfterWakeUp)
{
    port.Purge();
    bool awake = false;
    for (int attempt = 0; attempt < kWakeUpAttempts && !awake; ++attempt) {
        // One byte per write with a pause before each: the radio samples the line slowly while asleep.
        for (int i = 0; i < kWakeUpSize; ++i) {
            port.Pause(kWakeUpPauseMs);
            port.Write(&kLinkOpening[static_cast<std::size_t>(i)], 1);
        }
        if (pauseAfterWakeUp)
            port.Pause(kWakeUpPauseMs);
        awake = ReadAck(port);
    }
    if (!awake)
        return false;

    port.Purge();
    port.Write(&kLinkOpening[kWakeUpSize], 1);
    std::array<std::uint8_t, kModeAnswerSize> modeAnswer {};
    const CSerialPort::ReadResult mode = port.Read(modeAnswer.data(), kModeAnswerSize);
    if (mode.failed || mode.count != kModeAnswerSize)
        return false;

    return SendAckAndExpectAck(port);
}

bool ReadBlock(CSerialPort &port, const CCloneBlock &block, CRadioImage &destination)
{
    if (!IsValid(block))
        return false;
    port.Purge();
    const auto header = FrameHeader(kReadCommand, block);
    port.Write(header.data(), kFrameHeaderSize);

    // The header's bytes are not looked at, but all four must come within the read's time-outs: a
    // header late or broken by a pause would otherwise be taken for data, shifting the block.
    std::array<std::uint8_t, kFrameHeaderSize> answerHeader {};
    const CSerialPort::ReadResult head = port.Read(answerHeader.data(), kFrameHeaderSize);
    if (head.failed || head.count < kFrameHeaderSize)
        return false;
    std::array<std::uint8_t, kMaxBlockLength> data {};
    const CSerialPort::ReadResult got = port.Read(data.data(), block.length);
    if (got.failed || got.count < block.length)
        return false;
    destination.CopyIn(block.address, std::span<const std::uint8_t>(data.data(), block.length));

    return SendAckAndExpectAck(port);
}

bool WriteBlock(CSerialPort &port, const CCloneBlock &block, const CRadioImage &source)
{
    if (!IsValid(block))
        return false;
    std::array<std::uint8_t, kMaxBlockLength> data {};
    const std::span<const std::uint8_t> bytes = source.Range(block.address, block.length);
    std::copy(bytes.begin(), bytes.end(), data.begin());

    port.Purge();
    const auto header = FrameHeader(kWriteCommand, block);
    port.Write(header.data(), kFrameHeaderSize);
    port.Write(data.data(), block.length);
    return ReadAck(port);
}

} // namespace CloneProtocol
