#include "link/CloneProtocol.h"

#include "image/RadioImage.h"
#include "link/SerialPort.h"

#include <span>

namespace CloneProtocol {

namespace {

// The protocol's receive buffer is cleared before each answer it looks at; a read that returns no
// byte never lets an older byte pass for an acknowledgement.
Failure ReadAck(CSerialPort &port)
{
    std::uint8_t answer = 0;
    const CSerialPort::ReadResult result = port.Read(&answer, 1);
    if (result.failed || result.count != 1)
        return Failure::NoAnswer;
    return answer == kAck ? Failure::None : Failure::Refused;
}

Failure SendAckAndExpectAck(CSerialPort &port)
{
    port.Purge();
    port.Write(&kAck, 1);
    return ReadAck(port);
}

bool Report(Failure *out, Failure failure)
{
    if (out)
        *out = failure;
    return failure == Failure::None;
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

bool OpenLink(CSerialPort &port, bool pauseAfterWakeUp, Failure *failure)
{
    port.Purge();
    Failure wakeUp = Failure::NoAnswer;
    for (int attempt = 0; attempt < kWakeUpAttempts && wakeUp != Failure::None; ++attempt) {
        // One byte per write with a pause before each: the radio samples the line slowly while asleep.
        for (int i = 0; i < kWakeUpSize; ++i) {
            port.Pause(kWakeUpPauseMs);
            port.Write(&kLinkOpening[static_cast<std::size_t>(i)], 1);
        }
        if (pauseAfterWakeUp)
            port.Pause(kWakeUpPauseMs);
        wakeUp = ReadAck(port);
    }
    if (wakeUp != Failure::None)
        return Report(failure, wakeUp);

    port.Purge();
    port.Write(&kLinkOpening[kWakeUpSize], 1);
    std::array<std::uint8_t, kModeAnswerSize> modeAnswer {};
    const CSerialPort::ReadResult mode = port.Read(modeAnswer.data(), kModeAnswerSize);
    if (mode.failed || mode.count != kModeAnswerSize)
        return Report(failure, Failure::NoAnswer);

    return Report(failure, SendAckAndExpectAck(port));
}

bool ReadBlock(CSerialPort &port, const CCloneBlock &block, CRadioImage &destination, Failure *failure)
{
    if (!IsValid(block))
        return Report(failure, Failure::Refused);
    port.Purge();
    const auto header = FrameHeader(kReadCommand, block);
    port.Write(header.data(), kFrameHeaderSize);

    // The header's bytes are not looked at, but all four must come within the read's time-outs: a
    // header late or broken by a pause would otherwise be taken for data, shifting the block.
    std::array<std::uint8_t, kFrameHeaderSize> answerHeader {};
    const CSerialPort::ReadResult head = port.Read(answerHeader.data(), kFrameHeaderSize);
    if (head.failed || head.count < kFrameHeaderSize)
        return Report(failure, Failure::NoAnswer);
    std::array<std::uint8_t, kMaxBlockLength> data {};
    const CSerialPort::ReadResult got = port.Read(data.data(), block.length);
    if (got.failed || got.count < block.length)
        return Report(failure, Failure::NoAnswer);
    destination.CopyIn(block.address, std::span<const std::uint8_t>(data.data(), block.length));

    return Report(failure, SendAckAndExpectAck(port));
}

bool WriteBlock(CSerialPort &port, const CCloneBlock &block, const CRadioImage &source, Failure *failure)
{
    if (!IsValid(block))
        return Report(failure, Failure::Refused);
    std::array<std::uint8_t, kMaxBlockLength> data {};
    const std::span<const std::uint8_t> bytes = source.Range(block.address, block.length);
    std::copy(bytes.begin(), bytes.end(), data.begin());

    port.Purge();
    const auto header = FrameHeader(kWriteCommand, block);
    port.Write(header.data(), kFrameHeaderSize);
    port.Write(data.data(), block.length);
    return Report(failure, ReadAck(port));
}

} // namespace CloneProtocol
