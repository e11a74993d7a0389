#pragma once

#include "radio/ProductCatalog.h"

#include <QString>

class CIniFile;
class CRadioImage;

// What confirming a product type and band does, shared by the Product Information dialog and
// program-cli product: the two index bytes, the band-class byte, and the title and limits they give.
namespace ProductChoice {

struct Outcome
{
    QString typeText;
    QString bandText;
    BandLimits limits; // what the channel grid now checks frequencies against
    QString title;     // the main window title, in the running language as the channel view makes it
};

// Stores the type and band indexes into bytes 0x32E and 0x32F; an index of -1 (no selection) keeps its
// byte as it was. Then gives byte 0x30E the starting value of a new hundred-MHz band class, measured
// against previousLower, the limit the grid used until now.
Outcome Apply(const CIniFile &ini, CRadioImage &image, int typeIndex, int bandIndex, std::int64_t previousLower);

// The texts, limits and title the image's type and band bytes give as they stand.
Outcome Current(const CIniFile &ini, const CRadioImage &image);

} // namespace ProductChoice
