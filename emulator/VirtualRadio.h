#pragma once

#include "emulator/PtyLine.h"
#include "emulator/RadioProtocol.h"

#include <chrono>
#include <condition_variable>
#include <optional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A radio behind a pseudo-terminal: serves clone sessions on the line until asked to stop, keeps
// every byte the tool sent, and lets its memory be looked at while it runs. It can serve on a thread
// of its own (tests, benchmarks) or on the caller's (the virtual-radio program).
class CVirtualRadio {
public:
    // Silence after which a half-received wake-up or frame is dropped.
    static constexpr int kAbandonMs = 250;

    CVirtualRadio();
    ~CVirtualRadio();
    CVirtualRadio(const CVirtualRadio &) = delete;
    CVirtualRadio &operator=(const CVirtualRadio &) = delete;

    // A radio taken off the cable by a swap: the memory it left with and the links that wrote to it.
    struct CRetired {
        RadioMemory::Bytes memory;
        int writeLinks = 0;
    };

    // Settings; take effect for the sessions that follow. The memory is also what every radio put on
    // by a swap starts with.
    void SetMemory(const RadioMemory::Bytes &memory);
    void SetPace(int baud);
    void AddFault(const CRadioFault &fault);
    // Swaps radios as a dealer does: afterWriteMs after the last frame to a radio that has been written
    // (the write or its read-back), it is taken off
    // (the line goes silent) and offMs later another one with the starting memory answers. 0 = never.
    void SetSwap(int afterWriteMs, int offMs);
    // Swaps radios at the tool's own pace instead of by the clock, however slowly the tool runs: a
    // radio that has been written is taken off once the tool has opened two more links to it after
    // its last frame (asked twice whether it is still there), and the next one goes on after
    // offWakeUps whole wake-ups have gone unanswered. 0 = off.
    void SetSwapByLinks(int offWakeUps);

    // Creates the line; DevicePath() then names the device the tool opens.
    bool Open(std::string &error, const std::string &linkPath = {});
    const std::string &DevicePath() const { return m_Line.DevicePath(); }

    // Serves until RequestStop (on the caller's thread).
    void Serve();
    // Serves on a thread of its own until Stop.
    void Start();
    // Async-signal-safe: ends Serve at its next look at the line.
    void RequestStop();
    // Async-signal-safe: takes the radio off now; a new one answers after the swap's off time.
    void RequestSwap();
    bool Present() const;
    // The radios taken off so far, oldest first.
    std::vector<CRetired> Retired() const;
    void Stop();

    RadioMemory::Bytes Memory() const;
    int LinksOpened() const;
    // Every byte the tool has sent since the start or the last ClearReceived, in order.
    std::vector<std::uint8_t> Received() const;
    void ClearReceived();
    // Waits (without polling) until at least count bytes have come in; false after timeoutMs.
    bool WaitForReceived(std::size_t count, int timeoutMs) const;

private:
    using Clock = std::chrono::steady_clock;
    void Handle(const std::uint8_t *bytes, std::size_t n);
    // Takes the radio off or puts the next one on when their time has come; returns the poll time-out
    // until the next such event (-1 for none).
    int AdvanceSwap(bool swapNow);
    // With m_Mutex held: the radio taken off, or the next one put on.
    void TakeOffLocked(Clock::time_point now);
    void PutOnLocked();
    // With m_Mutex held: bytes sent to an empty cable, counted in whole wake-ups for SetSwapByLinks.
    void HeardWhileOffLocked(const std::uint8_t *bytes, std::size_t n);

    CPtyLine m_Line;
    CRadioProtocol m_Protocol;
    RadioMemory::Bytes m_Start;
    std::vector<CRadioFault> m_Faults;
    int m_nSwapAfterMs = 0;
    int m_nOffMs = 1000;
    bool m_bPresent = true;
    int m_nFramesSeen = 0;
    int m_nSwapOffWakeUps = 0; // SetSwapByLinks
    int m_nLinksAtLastFrame = 0;
    int m_nWakeUpsOff = 0; // whole wake-ups sent to the empty cable
    std::size_t m_nOffMatched = 0; // bytes of the next one so far
    Clock::time_point m_LastByteAt {};
    std::optional<Clock::time_point> m_TakeOffAt;
    std::optional<Clock::time_point> m_PutOnAt;
    std::vector<CRetired> m_Retired;
    bool m_bPaced = false;
    int m_StopPipe[2] = { -1, -1 };
    std::thread m_Thread;
    mutable std::mutex m_Mutex;
    mutable std::condition_variable m_Arrived;
    std::vector<std::uint8_t> m_Received;
};
