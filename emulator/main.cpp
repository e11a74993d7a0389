// virtual-radio: a 16-channel radio on a pseudo-terminal, for trying the tool without hardware.

#include "emulator/VirtualRadio.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

CVirtualRadio *g_Radio = nullptr;

void OnSignal(int)
{
    if (g_Radio)
        g_Radio->RequestStop();
}

void OnSwapSignal(int)
{
    if (g_Radio)
        g_Radio->RequestSwap();
}

// Seconds as a positive decimal number, in milliseconds; -1 when it is not one.
int Milliseconds(const char *text)
{
    char *end = nullptr;
    const double seconds = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(seconds > 0) || seconds > 86400)
        return -1;
    return static_cast<int>(seconds * 1000 + 0.5);
}

void Usage(std::FILE *to)
{
    std::fprintf(to,
        "Usage: virtual-radio [--image FILE] [--link PATH] [--pace BAUD] [--fault NAME[:N]]...\n"
        "                     [--save FILE] [--record FILE] [--swap-after SECONDS] [--off-time SECONDS]\n"
        "Prints the device to open on its first line, then serves clone sessions until\n"
        "SIGTERM or SIGINT. SIGUSR1 takes the radio off the cable and puts a new one on.\n"
        "  --image FILE   start from a data file (or a 1024-byte dump); default: factory memory\n"
        "  --link PATH    also make PATH a symbolic link to the device\n"
        "  --pace BAUD    answer as slowly as a line at BAUD (10 bits per byte both ways)\n"
        "  --save FILE    save the memory as a data file on exit\n"
        "  --record FILE  save every byte received from the tool on exit\n"
        "  --swap-after SECONDS  take the radio off SECONDS after its write (and any read-back) ended, and\n"
        "                 put a new one (starting memory) on after the off time\n"
        "  --off-time SECONDS    how long the cable stays empty in a swap (default 1)\n"
        "  --fault NAME[:N]  a defect, may be repeated; blocks count from 1 in every link, wake-ups\n"
        "                 from the start; without N it hits every one\n%s",
        CRadioFault::Describe().c_str());
}

bool WriteFile(const std::string &path, const std::vector<std::uint8_t> &bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

} // namespace

int main(int argc, char *argv[])
{
    std::string imagePath, linkPath, savePath, recordPath;
    CVirtualRadio radio;
    int swapAfterMs = 0;
    int offMs = 1000;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            Usage(stdout);
            return 0;
        } else if (arg == "--image" && hasValue) {
            imagePath = argv[++i];
        } else if (arg == "--link" && hasValue) {
            linkPath = argv[++i];
        } else if (arg == "--save" && hasValue) {
            savePath = argv[++i];
        } else if (arg == "--record" && hasValue) {
            recordPath = argv[++i];
        } else if (arg == "--pace" && hasValue) {
            char *end = nullptr;
            const long baud = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || baud < 1 || baud > 10000000) {
                std::fprintf(stderr, "virtual-radio: --pace takes a baud rate\n");
                return 2;
            }
            radio.SetPace(static_cast<int>(baud));
        } else if ((arg == "--swap-after" || arg == "--off-time") && hasValue) {
            const int ms = Milliseconds(argv[++i]);
            if (ms < 0) {
                std::fprintf(stderr, "virtual-radio: %s takes a number of seconds\n", arg.c_str());
                return 2;
            }
            (arg == "--swap-after" ? swapAfterMs : offMs) = ms;
        } else if (arg == "--fault" && hasValue) {
            const std::optional<CRadioFault> fault = CRadioFault::Parse(argv[++i]);
            if (!fault) {
                std::fprintf(stderr, "virtual-radio: unknown fault \"%s\"\n", argv[i]);
                Usage(stderr);
                return 2;
            }
            radio.AddFault(*fault);
        } else {
            std::fprintf(stderr, "virtual-radio: unexpected argument \"%s\"\n", arg.c_str());
            Usage(stderr);
            return 2;
        }
    }

    radio.SetSwap(swapAfterMs, offMs);
    std::string error;
    if (!imagePath.empty()) {
        RadioMemory::Bytes memory {};
        if (!RadioMemory::Load(imagePath, memory, error)) {
            std::fprintf(stderr, "virtual-radio: %s\n", error.c_str());
            return 1;
        }
        radio.SetMemory(memory);
    }
    if (!radio.Open(error, linkPath)) {
        std::fprintf(stderr, "virtual-radio: %s\n", error.c_str());
        return 1;
    }

    g_Radio = &radio;
    struct sigaction action { };
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    struct sigaction swap { };
    swap.sa_handler = OnSwapSignal;
    sigemptyset(&swap.sa_mask);
    sigaction(SIGUSR1, &swap, nullptr);
    std::signal(SIGXFSZ, SIG_IGN); // a --save over a file-size limit fails and says so instead

    std::printf("%s\n", radio.DevicePath().c_str());
    std::fflush(stdout);
    radio.Serve();
    g_Radio = nullptr;

    int status = 0;
    if (!savePath.empty() && !RadioMemory::Save(savePath, radio.Memory(), error)) {
        std::fprintf(stderr, "virtual-radio: %s\n", error.c_str());
        status = 1;
    }
    if (!recordPath.empty() && !WriteFile(recordPath, radio.Received())) {
        std::fprintf(stderr, "virtual-radio: %s: could not be written\n", recordPath.c_str());
        status = 1;
    }
    return status;
}
