// Writes one radio, then four at once, all paced at 9600 baud, side by side in the same run, and
// prints the ratio (goal: four take at most 1.10 times one). Then swaps radios under the repeat loop
// and prints how long after a radio started answering its write began (goal: within 1.5 s).

#include "emulator/VirtualRadio.h"
#include "image/RadioImage.h"
#include "link/BatchTransfer.h"
#include "link/RepeatWriter.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int kBaud = 9600;
constexpr int kRadios = 4;
constexpr int kRuns = 3;
constexpr int kSwaps = 3;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

std::unique_ptr<CVirtualRadio> Radio()
{
    auto radio = std::make_unique<CVirtualRadio>();
    radio->SetPace(kBaud);
    std::string error;
    if (!radio->Open(error)) {
        std::fprintf(stderr, "bench_batch: %s\n", error.c_str());
        std::exit(1);
    }
    radio->Start();
    return radio;
}

double Batch(const CBatchTransfer::Factory &make, const std::vector<std::unique_ptr<CVirtualRadio>> &radios, int count)
{
    QStringList ports;
    for (int i = 0; i < count; ++i)
        ports << QString::fromStdString(radios[std::size_t(i)]->DevicePath());
    CBatchTransfer batch(make, false);
    const Clock::time_point start = Clock::now();
    const std::vector<CBatchOutcome> outcomes = batch.Run(ports, ports);
    const double elapsed = Seconds(Clock::now() - start);
    for (const CBatchOutcome &outcome : outcomes) {
        if (!outcome.Succeeded()) {
            std::fprintf(stderr, "bench_batch: %s did not finish\n", qPrintable(outcome.port));
            std::exit(1);
        }
    }
    return elapsed;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    CRadioImage image;
    image.ApplyDefaults();
    const CBatchTransfer::Factory make = [image] { return CCloneTransfer::ChannelWrite(image, false); };

    std::vector<std::unique_ptr<CVirtualRadio>> radios;
    for (int i = 0; i < kRadios; ++i)
        radios.push_back(Radio());
    std::printf("Writes at %d baud: one radio, then %d at once (%d runs)\n", kBaud, kRadios, kRuns);
    double worst = 0;
    for (int run = 0; run < kRuns; ++run) {
        const double one = Batch(make, radios, 1);
        const double four = Batch(make, radios, kRadios);
        worst = std::max(worst, four / one);
        std::printf("one %.3f s  four %.3f s  ratio %.3f\n", one, four, four / one);
    }
    std::printf("worst ratio %.3f (goal at most 1.10)\n", worst);

    // The repeat loop: radios taken off 0.3 s after their write and the next put on 1.5 s later.
    const auto swapped = Radio();
    swapped->SetSwap(300, 1500);
    const QString device = QString::fromStdString(swapped->DevicePath());
    std::mutex mutex;
    std::vector<Clock::time_point> putOn, started;
    std::atomic<bool> done { false };
    std::thread watcher([&] {
        bool present = true;
        while (!done) {
            const bool now = swapped->Present();
            if (now && !present) {
                const std::lock_guard lock(mutex);
                putOn.push_back(Clock::now());
            }
            present = now;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    CRepeatWriter writer(
        [&] {
            const std::lock_guard lock(mutex);
            started.push_back(Clock::now());
            return make();
        },
        false);
    const CRepeatWriter::Totals totals = writer.Run(device, device, kSwaps + 1, {});
    done = true;
    watcher.join();
    double slowest = 0;
    for (std::size_t i = 0; i < putOn.size() && i + 1 < started.size(); ++i) {
        const double noticed = Seconds(started[i + 1] - putOn[i]);
        slowest = std::max(slowest, noticed);
        std::printf("radio %zu answered, write began %.3f s later\n", i + 2, noticed);
    }
    std::printf("repeat loop: %d written, %d failed; slowest notice %.3f s (goal within 1.5 s)\n", totals.written,
        totals.failed, slowest);
    return 0;
}
