#include "radio/ProductCatalog.h"

#include "config/IniFile.h"
#include "config/Language.h"
#include "config/NumberParse.h"
#include "config/UserSettings.h"
#include "image/RadioImage.h"

#include <utility>

namespace {
const QString kSetup = QStringLiteral("Setup");
}

namespace ProductCatalog {

QStringList TypeList(const CIniFile &ini)
{
    QStringList types;
    for (int n = 1; n <= kMaxTypes; ++n) {
        const QString type = ini.GetValue(kSetup, QString::asprintf("Type%d", n));
        if (type.isEmpty())
            break;
        types << type;
    }
    return types;
}

QStringList BandList(const CIniFile &ini, int typeIndex)
{
    return ini.GetValue(kSetup, QString::asprintf("Field%d", typeIndex + 1)).split(QLatin1Char('|'));
}

bool IsListed(const CIniFile &ini, std::int64_t typeIndex, std::int64_t bandIndex)
{
    return typeIndex >= 0 && typeIndex < TypeList(ini).size() && bandIndex >= 0
        && bandIndex < BandList(ini, static_cast<int>(typeIndex)).size();
}

bool RememberTypeAndBand(const CIniFile &ini, CUserSettings &settings, std::int64_t typeIndex,
                         std::int64_t bandIndex)
{
    if (!IsListed(ini, typeIndex, bandIndex))
        return false;
    settings.SetTypeAndField(static_cast<std::uint32_t>(typeIndex), static_cast<std::uint32_t>(bandIndex));
    return true;
}

namespace {

// The user's type and band when they are a listed pair, else the first type and band. Settings
// written before this rule may hold anything.
std::pair<std::uint8_t, std::uint8_t> SettingsPair(const CIniFile &ini, const CUserSettings &settings)
{
    if (!IsListed(ini, settings.Type(), settings.Field()))
        return { 0, 0 };
    return { static_cast<std::uint8_t>(settings.Type()), static_cast<std::uint8_t>(settings.Field()) };
}

constexpr CBilingual kUnknown { "Unknown 0x%1", "未知 0x%1" };

QString UnknownText(std::uint8_t byte, bool chinese)
{
    return kUnknown.Text(chinese).arg(QString::asprintf("%02X", byte));
}

} // namespace

void SyncTypeAndBand(const CIniFile &ini, CRadioImage &image, CUserSettings &settings, bool newDocument)
{
    if (newDocument) {
        const auto [type, band] = SettingsPair(ini, settings);
        image.SetByte(ImageMap::kProductType, type);
        image.SetByte(ImageMap::kFrequencyBand, band);
    } else {
        RememberTypeAndBand(
            ini, settings, image.Byte(ImageMap::kProductType), image.Byte(ImageMap::kFrequencyBand));
    }
}

QString TypeText(const CIniFile &ini, std::uint8_t typeByte)
{
    return ini.GetValue(kSetup, QString::asprintf("Type%d", typeByte + 1));
}

QString BandText(const CIniFile &ini, std::uint8_t typeByte, std::uint8_t bandByte)
{
    const QStringList bands = BandList(ini, typeByte);
    return bandByte < bands.size() ? bands.at(bandByte) : bands.constLast();
}

QString ShownTypeText(const CIniFile &ini, std::uint8_t typeByte, bool chinese)
{
    return typeByte < TypeList(ini).size() ? TypeText(ini, typeByte) : UnknownText(typeByte, chinese);
}

QString ShownBandText(const CIniFile &ini, std::uint8_t typeByte, std::uint8_t bandByte, bool chinese)
{
    return IsListed(ini, typeByte, bandByte) ? BandText(ini, typeByte, bandByte)
                                             : UnknownText(bandByte, chinese);
}

// A file of a band the lists lack is checked against the band its bytes select, never against the
// user's last band: that one may be another part of the spectrum altogether.
BandLimits CheckedLimits(const CIniFile &ini, const CRadioImage &image, const CUserSettings &)
{
    return LimitsFromBandText(
        BandText(ini, image.Byte(ImageMap::kProductType), image.Byte(ImageMap::kFrequencyBand)));
}

BandLimits LimitsFromBandText(const QString &bandText)
{
    const int dash = bandText.indexOf(QLatin1Char('-'));
    const QString top = dash < 0 ? bandText : bandText.mid(dash + 1);
    return { std::int64_t(NumberParse::Atoi(bandText)) * kUnitsPerMHz,
             (std::int64_t(NumberParse::Atoi(top)) + 1) * kUnitsPerMHz };
}

QString WindowTitle(const QString &appName, const QString &typeText, const QString &bandText, bool chineseLabels)
{
    return appName + (chineseLabels ? QStringLiteral("  [ 类型:") : QStringLiteral("  [ Type:")) + typeText
        + (chineseLabels ? QStringLiteral("  频率:") : QStringLiteral("  Fre:")) + bandText + QStringLiteral(" ]");
}

int BandClass(std::int64_t lowerLimit)
{
    return static_cast<int>(lowerLimit / (100 * kUnitsPerMHz));
}

void ApplyBandClassRule(CRadioImage &image, std::int64_t previousLower, std::int64_t newLower)
{
    const int band = BandClass(newLower);
    if (band == BandClass(previousLower))
        return;
    if (band == 1)
        image.SetByte(ImageMap::kNarrowSquelchThreshold, 2);
    else if (band == 3 || band == 4)
        image.SetByte(ImageMap::kNarrowSquelchThreshold, 8);
}

} // namespace ProductCatalog
