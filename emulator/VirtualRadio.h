#pragma once

#include "emulator/PtyLine.h"
#include "emulator/RadioProtocol.h"

#include <condition_variable>
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

    // Settings; take effect for the sessions that follow.
    void SetMemory(const RadioMemory::Bytes &memory);
    void SetPace(int baud);
    void AddFault(const CRadioFault &fault);

    // Creates the line; DevicePath() then names the device the tool opens.
    bool Open(std::string &error, const std::string &linkPath = {});
    const std::string &DevicePath() const { return m_Line.DevicePath(); }

    // Serves until RequestStop (on the caller's thread).
    void Serve();
    // Serves on a thread of its own until Stop.
    void Start();
    // Async-signal-safe: ends Serve at its next look at the line.
    void RequestStop();
    void Stop();

    RadioMemory::Bytes Memory() const;
    int LinksOpened() const;
    // Every byte the tool has sent since the start or the last ClearReceived, in order.
    std::vector<std::uint8_t> Received() const;
    void ClearReceived();
    // Waits (without polling) until at least count bytes have come in; false after timeoutMs.
    bool WaitForReceived(std::size_t count, int timeoutMs) const;

private:
    void Handle(const std::uint8_t *bytes, std::size_t n);

    CPtyLine m_Line;
    CRadioProtocol m_Protocol;
    bool m_bPaced = false;
    int m_StopPipe[2] = { -1, -1 };
    std::thread m_Thread;
    mutable std::mutex m_Mutex;
    mutable std::condition_variable m_Arrived;
    std::vector<std::uint8_t> m_Received;
};
