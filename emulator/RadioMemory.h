#pragma once

#include <array>
#include <cstdint>
#include <string>

// The virtual radio's programmable memory and the files it comes from and goes to.
namespace RadioMemory {

constexpr int kSize = 1024;
using Bytes = std::array<std::uint8_t, kSize>;

// What a radio fresh from the factory holds: 16 channels spread over 136-158.5 MHz without tones,
// usual options, and alignment values in the service areas.
Bytes Factory();

// Loads a data file ("Q707", 12 header bytes, 1024 memory bytes) or a bare 1024-byte dump.
bool Load(const std::string &path, Bytes &bytes, std::string &error);
// Saves the memory as a data file.
bool Save(const std::string &path, const Bytes &bytes, std::string &error);

} // namespace RadioMemory
