#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class CIniFile;
class CRadioImage;
class CUserSettings;

// Band limits in 10 Hz units, both inclusive.
struct BandLimits
{
    std::int64_t lower = 0;
    std::int64_t upper = 0;
};

// The product types and frequency bands offered by the configuration ([Setup] Type1.., Field1..),
// and what a band text means for the channel grid and the window title.
namespace ProductCatalog {

constexpr int kMaxTypes = 19;
// One MHz in the band limits' units of 10 Hz.
constexpr std::int64_t kUnitsPerMHz = 100000;

// Type1 .. Type19 in order, up to the first empty value.
QStringList TypeList(const CIniFile &ini);
// The bands of type index t (key Field<t+1>) cut at every '|', untrimmed; a value without '|' is one
// item and an empty value one empty item.
QStringList BandList(const CIniFile &ini, int typeIndex);

// Whether typeIndex is an item of the type list and bandIndex an item of that type's band list. Only
// such a pair is ever stored in the per-user settings: a radio of a type this configuration does not
// know must not make every later document refuse every frequency.
bool IsListed(const CIniFile &ini, std::int64_t typeIndex, std::int64_t bandIndex);
// Stores the pair in the user's settings when it is listed; false, and nothing stored, when not.
bool RememberTypeAndBand(const CIniFile &ini, CUserSettings &settings, std::int64_t typeIndex,
                         std::int64_t bandIndex);

// Keeps the image's type and band bytes (0x32E, 0x32F) in step with the user's settings: a new
// document takes them from the settings (the first type and band when none or no listed pair is
// stored); any other image hands its own over when they are listed, and keeps them either way.
void SyncTypeAndBand(const CIniFile &ini, CRadioImage &image, CUserSettings &settings, bool newDocument);

// The type text of the image's type byte (key Type<byte+1>); empty when missing.
QString TypeText(const CIniFile &ini, std::uint8_t typeByte);
// The band text for the image's type and band bytes: the item at the band index, the last item when
// the list is shorter.
QString BandText(const CIniFile &ini, std::uint8_t typeByte, std::uint8_t bandByte);
// What the window title and program-cli show for the type and band bytes: the listed texts, or
// "Unknown 0x45" ("未知 0x45") for a byte that is no item of the lists.
QString ShownTypeText(const CIniFile &ini, std::uint8_t typeByte, bool chinese);
QString ShownBandText(const CIniFile &ini, std::uint8_t typeByte, std::uint8_t bandByte, bool chinese);
// The limits typed frequencies are checked against: those of the band text the image's bytes select
// (BandText; 0 to 1 MHz for a type without bands), whatever band the user's settings keep.
BandLimits CheckedLimits(const CIniFile &ini, const CRadioImage &image, const CUserSettings &settings);

// "130 - 160MHz" gives 13000000 .. 16100000: the upper limit lies one MHz above the stated top.
// Without a '-' the whole text gives both ends.
BandLimits LimitsFromBandText(const QString &bandText);

// The displayed product name followed by "  [ Type:<type>  Fre:<band> ]" (Chinese labels on request).
QString WindowTitle(const QString &appName, const QString &typeText, const QString &bandText, bool chineseLabels);

// The hundred-MHz class of a lower band limit in 10 Hz units: 1 for a band starting at 100-199 MHz.
int BandClass(std::int64_t lowerLimit);
// A band moving into another hundred-MHz class gives byte 0x30E (narrow squelch threshold) the
// starting value of that class: 2 for class 1, 8 for classes 3 and 4. Any other class, and a band
// that stays in its class, leave the byte alone.
void ApplyBandClassRule(CRadioImage &image, std::int64_t previousLower, std::int64_t newLower);

} // namespace ProductCatalog
