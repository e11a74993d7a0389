#pragma once

#include "image/RadioImage.h"

#include <QString>
#include <QStringList>
#include <vector>

class CIniFile;

// What differs between two radio images, the way a user reads it: radio type and band first, then the
// channel fields and the options by their names with both values, then the power and alignment tables,
// and last the bytes no column or option shows, each named by what it is in the radio's memory.
namespace ImageDiff {

enum class Group {
    RadioKind,    // the radio type or the frequency band: writing across them needs a yes
    Channel,      // a column of a channel
    Option,       // a radio-wide option
    ServiceTable, // the power or alignment table, which only a service-mode write sends
    OtherBytes,   // bytes a write sends as they are though no column or option shows them
};

struct Difference
{
    QString item;  // "Channel 3 Rx Frequency", "Squelch Level", "Channel 10 flag bytes 12-13 (0x0AC-0x0AD)"
    QString first; // the value in the first image
    QString second;
    Group group = Group::OtherBytes;
    QString bits; // what the differing bits are, where the memory map knows them; often empty
    bool IsRadioKind() const { return group == Group::RadioKind; }
};

// The differences in the order of the groups, channels by number and column, options in dialog order,
// bytes by address.
std::vector<Difference> Compare(const CRadioImage &first, const CRadioImage &second, const CIniFile &ini,
    bool chinese);
// The differences of radio type and band moved to the front, in their order; the rest keeps its order.
// True when there were any.
bool RadioKindFirst(std::vector<Difference> &differences);
// The heading over the bytes no column or option shows, and the line under it saying what they are.
QString OtherBytesHeading(int count, bool chinese);
QString OtherBytesNote(bool chinese);
// Above a list that starts with a type or band difference: what writing across it would do.
QString RadioKindWarning(bool chinese);
// Asked before such a write, naming the port and each difference; No is the safe answer.
QString RadioKindQuestion(const std::vector<Difference> &differences, const QString &port, bool chinese);
// One line per difference: "item: first -> second", with the differing bits in brackets where known;
// the other bytes indented under their heading and note.
QStringList Lines(const std::vector<Difference> &differences, bool chinese);

} // namespace ImageDiff
