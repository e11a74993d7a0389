#pragma once

#include "image/RadioImage.h"

#include <QString>
#include <QStringList>
#include <vector>

class CIniFile;

// What differs between two radio images, the way a user reads it: channel fields and options by
// their names with both values, everything else as ranges of bytes.
namespace ImageDiff {

struct Difference
{
    QString item;  // "Channel 3 Rx Frequency", "Squelch Level", "Bytes 0x300-0x30F"
    QString first; // the value in the first image
    QString second;
};

std::vector<Difference> Compare(const CRadioImage &first, const CRadioImage &second, const CIniFile &ini,
    bool chinese);
// One line per difference: "item: first -> second".
QStringList Lines(const std::vector<Difference> &differences);

} // namespace ImageDiff
