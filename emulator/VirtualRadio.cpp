#include "emulator/VirtualRadio.h"

#include <algorithm>
#include <cerrno>
#include <chrono>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/syscall.h>
#endif

namespace {
// What the stop pipe carries.
constexpr char kStopByte = 1;
constexpr char kSwapByte = 2;
// A real radio is hardware beside the PC: its answers do not wait for the PC's other work. Where the
// system allows it (root), the serving thread runs ahead of ordinary tasks, so a busy machine does not
// make the virtual radio miss the tool's read time-outs (150 ms for an acknowledgement).
constexpr int kVirtualRadioNice = -10;

void VirtualRadioRunsAhead()
{
#if defined(__linux__)
    // On Linux a thread's own id names the thread alone; elsewhere this would change the whole process.
    [[maybe_unused]] const int ignored
        = ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), kVirtualRadioNice);
#endif
}
} // namespace

CVirtualRadio::CVirtualRadio()
    : m_Protocol(RadioMemory::Factory())
    , m_Start(RadioMemory::Factory())
{
    if (::pipe(m_StopPipe) == 0) {
        for (int fd : m_StopPipe) {
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
            ::fcntl(fd, F_SETFL, O_NONBLOCK);
        }
    }
}

CVirtualRadio::~CVirtualRadio()
{
    Stop();
    for (int fd : m_StopPipe) {
        if (fd >= 0)
            ::close(fd);
    }
}

void CVirtualRadio::SetMemory(const RadioMemory::Bytes &memory)
{
    const std::lock_guard lock(m_Mutex);
    m_Protocol.SetMemory(memory);
    m_Start = memory;
}

void CVirtualRadio::SetPace(int baud)
{
    m_Line.SetPace(baud);
    m_bPaced = baud > 0;
}

void CVirtualRadio::AddFault(const CRadioFault &fault)
{
    const std::lock_guard lock(m_Mutex);
    m_Protocol.AddFault(fault);
    m_Faults.push_back(fault);
}

void CVirtualRadio::SetSwap(int afterWriteMs, int offMs)
{
    const std::lock_guard lock(m_Mutex);
    m_nSwapAfterMs = afterWriteMs;
    m_nOffMs = offMs;
}

void CVirtualRadio::SetSwapByLinks(int offWakeUps)
{
    const std::lock_guard lock(m_Mutex);
    m_nSwapOffWakeUps = offWakeUps;
}

void CVirtualRadio::TakeOffLocked(Clock::time_point now)
{
    m_Retired.push_back({ m_Protocol.Memory(), m_Protocol.WriteLinks() });
    m_bPresent = false;
    m_TakeOffAt.reset();
    m_nWakeUpsOff = 0;
    m_nOffMatched = 0;
    // Paced by the tool's wake-ups, or by the clock.
    if (m_nSwapOffWakeUps > 0)
        m_PutOnAt.reset();
    else
        m_PutOnAt = now + std::chrono::milliseconds(m_nOffMs);
}

void CVirtualRadio::PutOnLocked()
{
    // A radio fresh from the box: starting memory, the same defects, counting from nothing.
    m_Protocol = CRadioProtocol(m_Start);
    for (const CRadioFault &fault : m_Faults)
        m_Protocol.AddFault(fault);
    m_nFramesSeen = 0;
    m_nLinksAtLastFrame = 0;
    m_bPresent = true;
    m_PutOnAt.reset();
}

void CVirtualRadio::HeardWhileOffLocked(const std::uint8_t *bytes, std::size_t n)
{
    const auto &wakeUp = CRadioProtocol::kWakeUp;
    for (std::size_t i = 0; i < n && m_nSwapOffWakeUps > 0; ++i) {
        if (bytes[i] == wakeUp[m_nOffMatched])
            ++m_nOffMatched;
        else
            m_nOffMatched = bytes[i] == wakeUp[0] ? 1 : 0;
        if (m_nOffMatched < wakeUp.size())
            continue;
        m_nOffMatched = 0;
        // The rest of what came with the last unanswered wake-up is lost with it.
        if (++m_nWakeUpsOff >= m_nSwapOffWakeUps) {
            PutOnLocked();
            return;
        }
    }
}

int CVirtualRadio::AdvanceSwap(bool swapNow)
{
    const std::lock_guard lock(m_Mutex);
    const Clock::time_point now = Clock::now();
    if (m_bPresent && (swapNow || (m_TakeOffAt && now >= *m_TakeOffAt)))
        TakeOffLocked(now);
    if (!m_bPresent && m_PutOnAt && now >= *m_PutOnAt)
        PutOnLocked();
    const std::optional<Clock::time_point> &next = m_bPresent ? m_TakeOffAt : m_PutOnAt;
    if (!next)
        return -1;
    return static_cast<int>(std::max<long long>(
        0, std::chrono::ceil<std::chrono::milliseconds>(*next - now).count()));
}

bool CVirtualRadio::Present() const
{
    const std::lock_guard lock(m_Mutex);
    return m_bPresent;
}

std::vector<CVirtualRadio::CRetired> CVirtualRadio::Retired() const
{
    const std::lock_guard lock(m_Mutex);
    return m_Retired;
}

void CVirtualRadio::RequestSwap()
{
    [[maybe_unused]] const ssize_t ignored = ::write(m_StopPipe[1], &kSwapByte, 1);
}

bool CVirtualRadio::Open(std::string &error, const std::string &linkPath)
{
    return m_Line.Open(linkPath, error);
}

void CVirtualRadio::Serve()
{
    for (;;) {
        pollfd fds[2] = { { m_Line.MasterFd(), POLLIN, 0 }, { m_StopPipe[0], POLLIN, 0 } };
        int timeout = -1;
        {
            const std::lock_guard lock(m_Mutex);
            if (m_Protocol.InTheMiddle()) {
                const auto silent = std::chrono::ceil<std::chrono::milliseconds>(Clock::now() - m_LastByteAt);
                timeout = static_cast<int>(std::max<long long>(0, kAbandonMs - silent.count()));
            }
        }
        const int swapIn = AdvanceSwap(false);
        if (swapIn >= 0 && (timeout < 0 || swapIn < timeout))
            timeout = swapIn;
        const int ready = ::poll(fds, 2, timeout);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents != 0) {
            char commands[16];
            const ssize_t n = ::read(m_StopPipe[0], commands, sizeof commands);
            if (n <= 0 || std::find(commands, commands + n, kStopByte) != commands + n)
                return;
            AdvanceSwap(true);
            continue;
        }
        if (ready == 0) {
            const std::lock_guard lock(m_Mutex);
            if (m_Protocol.InTheMiddle() && Clock::now() - m_LastByteAt >= std::chrono::milliseconds(kAbandonMs))
                m_Protocol.Abandon();
            continue;
        }
        if (fds[0].revents & POLLIN) {
            std::uint8_t buffer[256];
            const ssize_t n = ::read(m_Line.MasterFd(), buffer, sizeof buffer);
            if (n > 0)
                Handle(buffer, static_cast<std::size_t>(n));
            else if (n < 0 && errno != EINTR && errno != EAGAIN)
                return;
        } else if (fds[0].revents & (POLLERR | POLLNVAL)) {
            return;
        }
    }
}

void CVirtualRadio::Handle(const std::uint8_t *bytes, std::size_t n)
{
    const CPtyLine::Clock::time_point readAt = CPtyLine::Clock::now();
    {
        const std::lock_guard lock(m_Mutex);
        m_Received.insert(m_Received.end(), bytes, bytes + n);
        m_LastByteAt = readAt;
    }
    m_Arrived.notify_all();
    {
        // No radio on the cable: the bytes go nowhere.
        const std::lock_guard lock(m_Mutex);
        if (!m_bPresent) {
            HeardWhileOffLocked(bytes, n);
            return;
        }
    }
    std::vector<std::uint8_t> answer;
    for (std::size_t i = 0; i < n; ++i) {
        if (m_bPaced)
            std::this_thread::sleep_until(m_Line.ArrivalOf(readAt));
        answer.clear();
        std::optional<CRadioProtocol::CPause> pause;
        {
            const std::lock_guard lock(m_Mutex);
            m_Protocol.Receive(bytes[i], answer);
            pause = m_Protocol.TakePause();
        }
        if (pause && pause->at <= answer.size()) {
            const auto split = answer.begin() + static_cast<std::ptrdiff_t>(pause->at);
            m_Line.Send(std::vector<std::uint8_t>(answer.begin(), split));
            std::this_thread::sleep_for(std::chrono::milliseconds(pause->ms));
            answer.erase(answer.begin(), split);
        }
        if (!answer.empty())
            m_Line.Send(answer);
    }
    const std::lock_guard lock(m_Mutex);
    // The swap clock runs from the last frame of a radio that has been written: a verify's read-back
    // still belongs to the write, link openings alone (someone asking whether it is there) do not.
    const int frames = m_Protocol.WriteFramesAnswered() + m_Protocol.ReadFramesServed();
    if (frames != m_nFramesSeen) {
        m_nFramesSeen = frames;
        m_nLinksAtLastFrame = m_Protocol.LinksOpened();
        if (m_nSwapAfterMs > 0 && m_Protocol.WriteFramesAnswered() > 0)
            m_TakeOffAt = Clock::now() + std::chrono::milliseconds(m_nSwapAfterMs);
    }
    // Paced by the tool: one link opened after the last frame may be a verify's read-back starting; a
    // second one with still no frame is the tool asking whether the radio is there, and it is taken off.
    if (m_nSwapOffWakeUps > 0 && m_Protocol.WriteFramesAnswered() > 0
        && m_Protocol.LinksOpened() - m_nLinksAtLastFrame >= 2)
        TakeOffLocked(Clock::now());
}


void CVirtualRadio::Start()
{
    if (m_Thread.joinable())
        return;
    // A stop left over from an earlier run must not end this one at once.
    char byte = 0;
    while (::read(m_StopPipe[0], &byte, 1) > 0) { }
    m_Thread = std::thread([this] {
        VirtualRadioRunsAhead();
        Serve();
    });
}

void CVirtualRadio::RequestStop()
{
    [[maybe_unused]] const ssize_t ignored = ::write(m_StopPipe[1], &kStopByte, 1);
}

void CVirtualRadio::Stop()
{
    if (m_Thread.joinable()) {
        RequestStop();
        m_Thread.join();
    }
}

RadioMemory::Bytes CVirtualRadio::Memory() const
{
    const std::lock_guard lock(m_Mutex);
    return m_Protocol.Memory();
}

int CVirtualRadio::LinksOpened() const
{
    const std::lock_guard lock(m_Mutex);
    return m_Protocol.LinksOpened();
}

std::vector<std::uint8_t> CVirtualRadio::Received() const
{
    const std::lock_guard lock(m_Mutex);
    return m_Received;
}

void CVirtualRadio::ClearReceived()
{
    const std::lock_guard lock(m_Mutex);
    m_Received.clear();
}

bool CVirtualRadio::WaitForReceived(std::size_t count, int timeoutMs) const
{
    std::unique_lock lock(m_Mutex);
    return m_Arrived.wait_for(
        lock, std::chrono::milliseconds(timeoutMs), [&] { return m_Received.size() >= count; });
}
