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
    bool radioKind = false; // the radio type or the frequency band: writing across them needs a yes
};

std::vector<Difference> Compare(const CRadioImage &first, const CRadioImage &second, const CIniFile &ini,
    bool chinese);
// The differences of radio type and band moved to the front, in their order; the rest keeps its order.
// True when there were any.
bool RadioKindFirst(std::vector<Difference> &differences);
// Above a list that starts with a type or band difference: what writing across it would do.
QString RadioKindWarning(bool chinese);
// Asked before such a write, naming the port and each difference; No is the safe answer.
QString RadioKindQuestion(const std::vector<Difference> &differences, const QString &port, bool chinese);
// One line per difference: "item: first -> second".
QStringList Lines(const std::vector<Difference> &differences);

} // namespace ImageDiff
