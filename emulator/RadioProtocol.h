#pragma once

#include "emulator/RadioFault.h"
#include "emulator/RadioMemory.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// The radio's side of the clone protocol, byte in, answer out, with no device behind it: asleep until
// the wake-up sequence, then the mode byte and the confirm, then read and write frames until the next
// wake-up. Faults switched on make it answer wrongly where they say.
class CRadioProtocol {
public:
    static constexpr std::uint8_t kAck = 0x06;
    static constexpr std::uint8_t kNak = 0x15;
    static constexpr std::uint8_t kModeByte = 0x02;
    static constexpr std::uint8_t kRead = 0x52;
    static constexpr std::uint8_t kWrite = 0x57;
    static constexpr std::array<std::uint8_t, 8> kWakeUp = { 0x02, 0x50, 0x52, 0x4F, 0x47, 0x52, 0x41, 0x4E };
    // What the radio says about itself after the mode byte; the tool only counts it.
    static constexpr std::array<std::uint8_t, 8> kModeAnswer = { 'V', 'R', 'A', 'D', 'I', 'O', 0x01, 0x00 };
    static constexpr int kMaxBlock = 16;

    explicit CRadioProtocol(const RadioMemory::Bytes &memory);

    void AddFault(const CRadioFault &fault) { m_Faults.push_back(fault); }
    // A pause the radio makes inside an answer: before its byte `at`, for `ms` milliseconds.
    struct CPause {
        std::size_t at = 0;
        int ms = 0;
    };

    // Takes one byte from the tool and appends the radio's answer, if any, to answer.
    void Receive(std::uint8_t byte, std::vector<std::uint8_t> &answer);
    // The pause a fault put into the answer of the last Receive, if any; asking clears it.
    std::optional<CPause> TakePause() { return std::exchange(m_Pause, std::nullopt); }
    // True while the radio waits for the rest of something the tool started.
    bool InTheMiddle() const;
    // The tool went quiet half-way: drop what was started and sleep again.
    void Abandon();

    const RadioMemory::Bytes &Memory() const { return m_Memory; }
    void SetMemory(const RadioMemory::Bytes &memory) { m_Memory = memory; }
    int LinksOpened() const { return m_nLinks; }
    // Links in which at least one write frame was stored.
    int WriteLinks() const { return m_nWriteLinks; }
    // Write frames answered since the radio started, in every link.
    int WriteFramesAnswered() const { return m_nWriteFramesTotal; }
    // Read frames served since the radio started, in every link.
    int ReadFramesServed() const { return m_nReadFramesTotal; }

private:
    enum class State { Asleep, AwaitMode, AwaitConfirm, Linked, FrameHeader, WriteData, AwaitReadAck };

    void Sleep(std::uint8_t byte, std::vector<std::uint8_t> &answer);
    void WakeUpComplete(std::vector<std::uint8_t> &answer);
    void FrameComplete(std::vector<std::uint8_t> &answer);
    void AnswerRead(std::vector<std::uint8_t> &answer);
    void StoreWrite(std::vector<std::uint8_t> &answer);
    bool Faulty(CRadioFault::Kind kind, int number) const;
    int Address() const { return m_Frame[1] << 8 | m_Frame[2]; }
    int Length() const { return m_Frame[3]; }

    RadioMemory::Bytes m_Memory;
    std::vector<CRadioFault> m_Faults;
    State m_State = State::Asleep;
    std::size_t m_nWakeUpMatched = 0;
    int m_nWakeUps = 0;
    int m_nLinks = 0;
    int m_nWriteLinks = 0;
    int m_nWriteFramesTotal = 0;
    int m_nReadFramesTotal = 0;
    int m_nReadFrames = 0; // in the current link
    int m_nWriteFrames = 0; // in the current link
    std::array<std::uint8_t, 4> m_Frame {};
    std::size_t m_nFrameBytes = 0;
    std::array<std::uint8_t, kMaxBlock> m_Data {};
    std::size_t m_nDataBytes = 0;
    bool m_bNakReadAck = false;
    std::optional<CPause> m_Pause;
};
