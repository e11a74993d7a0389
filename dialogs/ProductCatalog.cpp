#include "dialogs/ProductCatalog.h"

#include "config/IniFile.h"
#include "config/NumberParse.h"
#include "config/UserSettings.h"
#include "image/RadioImage.h"

namespace {
const QString kSetup = QStringLiteral("Setup");
constexpr std::int64_t kUnitsPerMHz = 100000;
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

void SyncTypeAndBand(CRadioImage &image, CUserSettings &settings, bool newDocument)
{
    if (newDocument) {
        image.SetByte(ImageMap::kProductType, static_cast<std::uint8_t>(settings.Type()));
        image.SetByte(ImageMap::kFrequencyBand, static_cast<std::uint8_t>(settings.Field()));
    } else {
        settings.SetTypeAndField(image.Byte(ImageMap::kProductType), image.Byte(ImageMap::kFrequencyBand));
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
