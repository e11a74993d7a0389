// Times a full clone read and write against the virtual radio paced at 9600 baud and compares them
// with the wire floor: every byte both ways at 10 bits per byte, plus the 16 ms of wake-up pauses.
// Also times how long a radio that never answers takes to be given up.

#include "emulator/VirtualRadio.h"
#include "image/RadioImage.h"
#include "link/CloneTransfer.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr int kBaud = 9600;
constexpr double kSecondsPerByte = 10.0 / kBaud;
constexpr double kWakeUpPauses = 8 * 0.002;
constexpr int kRuns = 3;

// Bytes on the wire, both directions: link opening 8 + 1 + 1 out, 1 + 8 + 1 back; a read block
// 4 + 1 out, 4 + n + 1 back; a write block 4 + n out, 1 back.
int WireBytes(const CCloneTransfer &transfer)
{
    int bytes = 20;
    const bool read = transfer.TransferDirection() == CCloneTransfer::Direction::Read;
    for (const CCloneBlock &block : transfer.Blocks())
        bytes += block.length + (read ? 10 : 5);
    return bytes;
}

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

struct Radio {
    CVirtualRadio radio;
    QString device;
    explicit Radio(const char *fault = nullptr)
    {
        radio.SetPace(kBaud);
        if (fault)
            radio.AddFault(*CRadioFault::Parse(fault));
        std::string error;
        if (!radio.Open(error)) {
            std::fprintf(stderr, "bench_link: %s\n", error.c_str());
            std::exit(1);
        }
        radio.Start();
        device = QString::fromStdString(radio.DevicePath());
    }
};

// Runs a transfer kRuns times and prints each against the floor; returns the worst ratio.
double Measure(const char *label, const std::function<std::unique_ptr<CCloneTransfer>()> &make)
{
    Radio radio;
    double worst = 0;
    for (int run = 0; run < kRuns; ++run) {
        const auto transfer = make();
        const auto start = std::chrono::steady_clock::now();
        const CCloneTransfer::Status status = transfer->Run(radio.device);
        const double elapsed = Seconds(std::chrono::steady_clock::now() - start);
        if (status != CCloneTransfer::Status::Done) {
            std::fprintf(stderr, "bench_link: %s did not finish\n", label);
            std::exit(1);
        }
        const int bytes = WireBytes(*transfer);
        const double floor = bytes * kSecondsPerByte + kWakeUpPauses;
        const double ratio = elapsed / floor;
        worst = std::max(worst, ratio);
        std::printf("%-22s %2d blocks %5d bytes  elapsed %.3f s  floor %.3f s  ratio %.3f\n", label,
            transfer->BlockCount(), bytes, elapsed, floor, ratio);
    }
    return worst;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::printf("Clone transfers against the virtual radio at %d baud (%d runs each)\n", kBaud, kRuns);

    const CRadioImage image = [] {
        CRadioImage i;
        i.ApplyDefaults();
        return i;
    }();
    const double read = Measure("read", [&] { return CCloneTransfer::ChannelRead(image); });
    const double write = Measure("write", [&] { return CCloneTransfer::ChannelWrite(image, false); });
    const double full
        = Measure("write, service access", [&] { return CCloneTransfer::ChannelWrite(image, true); });

    Radio silent("wakeup-silent");
    double slowest = 0;
    for (int run = 0; run < kRuns; ++run) {
        const auto transfer = CCloneTransfer::ChannelRead(image);
        const auto start = std::chrono::steady_clock::now();
        transfer->Run(silent.device);
        slowest = std::max(slowest, Seconds(std::chrono::steady_clock::now() - start));
    }
    std::printf("silent radio given up after %.3f s (slowest of %d; goal under 0.8 s)\n", slowest, kRuns);
    std::printf(
        "worst ratios: read %.3f, write %.3f, full write %.3f (goal at most 1.05)\n", read, write, full);
    return 0;
}
