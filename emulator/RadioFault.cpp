#include "emulator/RadioFault.h"

#include <cstdlib>

namespace {

struct FaultName {
    const char *name;
    CRadioFault::Kind kind;
    const char *help;
};

constexpr FaultName kNames[] = {
    { "wakeup-silent", CRadioFault::Kind::WakeUpSilent, "no answer to the first N wake-ups" },
    { "wakeup-nak", CRadioFault::Kind::WakeUpNak, "0x15 instead of 0x06 to the first N wake-ups" },
    { "mode-short", CRadioFault::Kind::ModeShort, "7 bytes instead of 8 in answer to the mode byte" },
    { "confirm-nak", CRadioFault::Kind::ConfirmNak, "0x15 in answer to the confirm" },
    { "read-short", CRadioFault::Kind::ReadShort, "read block N answered one data byte short" },
    { "read-silent", CRadioFault::Kind::ReadSilent, "read block N not answered" },
    { "read-noack", CRadioFault::Kind::ReadNoAck, "acknowledgement of read block N answered with 0x15" },
    { "read-header", CRadioFault::Kind::ReadHeader, "read block N answered with a foreign header" },
    { "read-late", CRadioFault::Kind::ReadHeaderLate, "read block N answered 500 ms late" },
    { "read-split", CRadioFault::Kind::ReadHeaderSplit, "200 ms pause inside the header of read block N" },
    { "write-silent", CRadioFault::Kind::WriteSilent, "write block N not answered and not stored" },
    { "write-nak", CRadioFault::Kind::WriteNak, "write block N refused with 0x15 and not stored" },
    { "write-lost", CRadioFault::Kind::WriteLost, "write block N acknowledged but not stored" },
};

} // namespace

std::optional<CRadioFault> CRadioFault::Parse(const std::string &text)
{
    const std::size_t colon = text.find(':');
    const std::string name = text.substr(0, colon);
    int count = 0;
    if (colon != std::string::npos) {
        const std::string number = text.substr(colon + 1);
        char *end = nullptr;
        const long value = std::strtol(number.c_str(), &end, 10);
        if (number.empty() || *end != '\0' || value < 1 || value > 1000000)
            return std::nullopt;
        count = static_cast<int>(value);
    }
    for (const FaultName &entry : kNames) {
        if (name == entry.name)
            return CRadioFault { entry.kind, count };
    }
    return std::nullopt;
}

std::string CRadioFault::Describe()
{
    std::string text;
    for (const FaultName &entry : kNames) {
        text += "  ";
        text += entry.name;
        text += std::string(16 - std::string(entry.name).size(), ' ');
        text += entry.help;
        text += '\n';
    }
    return text;
}
