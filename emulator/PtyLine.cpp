#include "emulator/PtyLine.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#if defined(__APPLE__)
#include <util.h>
#else
#include <pty.h>
#endif

namespace {
constexpr int kBitsPerByte = 10; // start bit, 8 data bits, stop bit
}

CPtyLine::~CPtyLine()
{
    if (!m_strLink.empty()) {
        // Remove the link only while it still points at our device.
        char target[4096] = {};
        const ssize_t n = ::readlink(m_strLink.c_str(), target, sizeof target - 1);
        if (n > 0 && m_strDevice == std::string(target, static_cast<std::size_t>(n)))
            ::unlink(m_strLink.c_str());
    }
    if (m_nSlave >= 0)
        ::close(m_nSlave);
    if (m_nMaster >= 0)
        ::close(m_nMaster);
}

bool CPtyLine::Open(const std::string &linkPath, std::string &error)
{
    char name[256] = {};
    if (::openpty(&m_nMaster, &m_nSlave, name, nullptr, nullptr) != 0) {
        error = std::string("openpty: ") + std::strerror(errno);
        return false;
    }
    ::fcntl(m_nMaster, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_nSlave, F_SETFD, FD_CLOEXEC);
    m_strDevice = name;
    // Raw both ways: no echo, no line editing, no translation of CR, LF or control bytes.
    termios settings {};
    ::tcgetattr(m_nSlave, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(m_nSlave, TCSANOW, &settings);

    if (!linkPath.empty()) {
        // An old link is replaced; anything else at that path is left alone.
        struct stat existing { };
        if (::lstat(linkPath.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode))
            ::unlink(linkPath.c_str());
        if (::symlink(m_strDevice.c_str(), linkPath.c_str()) != 0) {
            error = linkPath + ": " + std::strerror(errno);
            return false;
        }
        m_strLink = linkPath;
    }
    return true;
}

void CPtyLine::SetPace(int baud)
{
    m_ByteTime = baud > 0 ? std::chrono::duration_cast<Clock::duration>(
                     std::chrono::nanoseconds(1000000000LL * kBitsPerByte / baud))
                          : Clock::duration {};
}

CPtyLine::Clock::time_point CPtyLine::ArrivalOf(Clock::time_point readAt)
{
    m_InFree = std::max(readAt, m_InFree) + m_ByteTime;
    return m_InFree;
}

void CPtyLine::Send(const std::vector<std::uint8_t> &bytes)
{
    if (m_ByteTime == Clock::duration {}) {
        WriteAll(bytes.data(), bytes.size());
        return;
    }
    // Each byte goes out when its last bit would have left; bytes already due go together.
    std::vector<Clock::time_point> due(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        m_OutFree = std::max(Clock::now(), m_OutFree) + m_ByteTime;
        due[i] = m_OutFree;
    }
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        std::this_thread::sleep_until(due[sent]);
        const Clock::time_point now = Clock::now();
        std::size_t end = sent + 1;
        while (end < bytes.size() && due[end] <= now)
            ++end;
        WriteAll(bytes.data() + sent, end - sent);
        sent = end;
    }
}

void CPtyLine::WriteAll(const std::uint8_t *bytes, std::size_t n)
{
    while (n > 0) {
        const ssize_t written = ::write(m_nMaster, bytes, n);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        bytes += written;
        n -= static_cast<std::size_t>(written);
    }
}
