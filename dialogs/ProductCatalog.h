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

// Type1 .. Type19 in order, up to the first empty value.
QStringList TypeList(const CIniFile &ini);
// The bands of type index t (key Field<t+1>) cut at every '|', untrimmed; a value without '|' is one
// item and an empty value one empty item.
QStringList BandList(const CIniFile &ini, int typeIndex);

// Keeps the image's type and band bytes (0x32E, 0x32F) in step with the user's settings: a new
// document takes them from the settings (0 when none are stored), any other image hands its own over.
void SyncTypeAndBand(CRadioImage &image, CUserSettings &settings, bool newDocument);

// The type text of the image's type byte (key Type<byte+1>); empty when missing.
QString TypeText(const CIniFile &ini, std::uint8_t typeByte);
// The band text for the image's type and band bytes: the item at the band index, the last item when
// the list is shorter.
QString BandText(const CIniFile &ini, std::uint8_t typeByte, std::uint8_t bandByte);

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
