#include "emulator/RadioMemory.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

namespace RadioMemory {

namespace {

constexpr char kMagic[4] = { 'Q', '7', '0', '7' };
constexpr std::size_t kHeaderSize = 16;
constexpr int kRowSize = 16;
constexpr int kChannels = 16;

// Packed BCD of a frequency in 10 Hz units, low digit pair first.
void PutFrequency(Bytes &bytes, int offset, long tensOfHertz)
{
    for (int i = 0; i < 4; ++i) {
        const int pair = static_cast<int>(tensOfHertz % 100);
        bytes[static_cast<std::size_t>(offset + i)]
            = static_cast<std::uint8_t>((pair / 10) << 4 | (pair % 10));
        tensOfHertz /= 100;
    }
}

} // namespace

Bytes Factory()
{
    Bytes bytes;
    bytes.fill(0xFF);
    for (int channel = 1; channel <= kChannels; ++channel) {
        const int row = channel * kRowSize;
        const long frequency = 13600000L + (channel - 1) * 150000L; // 136.000 MHz + 1.5 MHz steps
        PutFrequency(bytes, row, frequency);
        PutFrequency(bytes, row + 4, frequency);
        bytes[static_cast<std::size_t>(row + 12)] = 0x00;
        bytes[static_cast<std::size_t>(row + 13)] = 0x00;
    }
    const std::pair<int, std::uint8_t> options[] = {
        { 0x12F, 0x00 },
        { 0x130, 0x03 },
        { 0x134, 0x03 },
        { 0x135, 0x01 },
        { 0x136, 0x01 },
        { 0x139, 0x00 },
        { 0x13A, 0x05 },
        { 0x13B, 0x00 },
        { 0x161, 0x00 },
        { 0x17E, 0xFF },
        { 0x17F, 0xFF },
        { 0x32E, 0x00 },
        { 0x32F, 0x00 },
    };
    for (const auto &[offset, value] : options)
        bytes[static_cast<std::size_t>(offset)] = value;
    // Alignment values the radio keeps for itself: 0x300-0x31F and the power table at 0x3E0.
    for (int i = 0; i < 32; ++i)
        bytes[static_cast<std::size_t>(0x300 + i)] = static_cast<std::uint8_t>(0x40 + i);
    for (int i = 0; i < 27; ++i)
        bytes[static_cast<std::size_t>(0x3E0 + i)] = static_cast<std::uint8_t>(0x80 + i);
    return bytes;
}

bool Load(const std::string &path, Bytes &bytes, std::string &error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    const std::vector<char> content((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::size_t start = 0;
    if (content.size() >= kHeaderSize + kSize && std::memcmp(content.data(), kMagic, sizeof kMagic) == 0)
        start = kHeaderSize;
    else if (content.size() != static_cast<std::size_t>(kSize)) {
        error = path + ": neither a data file nor a 1024-byte memory dump";
        return false;
    }
    std::memcpy(bytes.data(), content.data() + start, kSize);
    return true;
}

bool Save(const std::string &path, const Bytes &bytes, std::string &error)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    char header[kHeaderSize] = {};
    std::memcpy(header, kMagic, sizeof kMagic);
    file.write(header, sizeof header);
    file.write(reinterpret_cast<const char *>(bytes.data()), kSize);
    file.close();
    if (!file) {
        error = path + ": could not be written";
        return false;
    }
    return true;
}

} // namespace RadioMemory
