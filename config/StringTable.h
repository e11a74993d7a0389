#pragma once

#include <QString>

// The program's numbered messages. The English text is the key; the language file loaded at start-up
// supplies the other language.
namespace StringTable {

enum Id {
    kOutOfRange = 61448,
    kDataFormat = 61449,
    kAllDataCleared = 61452,
    kPortOpenFailed = 61453,
    kOffStep = 61456,
    kCaution = 61458,
};

QString Message(Id id);

} // namespace StringTable
