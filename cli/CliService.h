#pragma once

#include "service/ServiceBand.h"

#include <QString>
#include <optional>
#include <vector>

class CCliContext;
class CRadioImage;

// What program-cli service, power and params share.
namespace CliService {

// The band of a data file: its type and band bytes looked up in Program.ini, as the window does. A pair
// Program.ini does not list has no limits to work on: says so on stderr (naming the band and how to set
// one) and gives nothing, rather than quietly taking another band's table.
std::optional<CServiceBand> BandOf(CCliContext& context, const CRadioImage& image);
// Prints the note about points without room in a table on stderr, if the band has any.
void NoteClipped(CCliContext& context, const CServiceBand& band, int capacity);
// The points in MHz, comma separated, or "-" when there are none.
QString PointList(const std::vector<int>& points);
// A whole decimal number, sign allowed; nothing else around it.
bool ParseInt(const QString& text, int& value);

} // namespace CliService
