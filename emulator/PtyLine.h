#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// The radio's end of a serial line: the master side of a pseudo-terminal whose slave device the tool
// opens as its port. Optionally paced like a real line at a given baud rate, 10 bits per byte in each
// direction.
class CPtyLine {
public:
    using Clock = std::chrono::steady_clock;

    CPtyLine() = default;
    ~CPtyLine();
    CPtyLine(const CPtyLine &) = delete;
    CPtyLine &operator=(const CPtyLine &) = delete;

    // Creates the pseudo-terminal in raw mode. Our own slave descriptor stays open for the line's
    // whole life, so the master never sees a hang-up between the tool's sessions. linkPath, when
    // given, becomes a symbolic link to the device.
    bool Open(const std::string &linkPath, std::string &error);
    const std::string &DevicePath() const { return m_strDevice; }
    int MasterFd() const { return m_nMaster; }

    // 0 (the default) answers at once.
    void SetPace(int baud);
    // When the next byte from the tool, read at readAt, has finished arriving on the modelled wire.
    Clock::time_point ArrivalOf(Clock::time_point readAt);
    // Hands bytes to the tool, each when it would have finished leaving the modelled wire.
    void Send(const std::vector<std::uint8_t> &bytes);

private:
    void WriteAll(const std::uint8_t *bytes, std::size_t n);

    int m_nMaster = -1;
    int m_nSlave = -1;
    std::string m_strDevice;
    std::string m_strLink;
    Clock::duration m_ByteTime {};
    Clock::time_point m_InFree {};
    Clock::time_point m_OutFree {};
};
