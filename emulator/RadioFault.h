#pragma once

#include <optional>
#include <string>

// A defect switched on in the virtual radio, so the tool's failure paths can be driven on a real line.
struct CRadioFault {
    enum class Kind {
        WakeUpSilent, // no answer to a wake-up
        WakeUpNak, // a wrong byte instead of the acknowledgement of a wake-up
        ModeShort, // 7 bytes instead of 8 in answer to the mode byte
        ConfirmNak, // a wrong byte in answer to the confirm
        ReadShort, // one data byte short in answer to a read frame
        ReadSilent, // no answer at all to a read frame
        ReadNoAck, // a wrong byte in answer to the acknowledgement of a read block
        ReadHeader, // an answer header unlike the frame (the data is right)
        ReadHeaderLate, // the answer to a read frame starts after the tool's header time-out
        ReadHeaderSplit, // a pause longer than the tool's byte gap after two header bytes
        WriteSilent, // no answer to a write frame; the block is not stored
        WriteNak, // a wrong byte in answer to a write frame; the block is not stored
        WriteLost, // a write frame acknowledged but not stored
    };

    // Pauses of the late and split headers: beyond the 300 ms a 4-byte read may take and beyond the
    // 100 ms gap a read allows between two bytes, with room to spare on a busy machine.
    static constexpr int kLateHeaderMs = 500;
    static constexpr int kHeaderGapMs = 200;
    static constexpr int kSplitAfter = 2;

    Kind kind;
    // Wake-up faults: the first `count` wake-ups since the radio started. Block faults: the count-th
    // read or write frame of every link, from 1. Zero means every one.
    int count = 0;

    // Parses "NAME" or "NAME:COUNT", e.g. "wakeup-nak:1" or "read-silent:5".
    static std::optional<CRadioFault> Parse(const std::string &text);
    // One line per fault name with what it does, for the usage text.
    static std::string Describe();
    // Whether this fault hits the number-th event of its kind (number counts from 1).
    bool Hits(int number) const { return count == 0 || (IsWakeUp() ? number <= count : number == count); }
    bool IsWakeUp() const { return kind == Kind::WakeUpSilent || kind == Kind::WakeUpNak; }
};
