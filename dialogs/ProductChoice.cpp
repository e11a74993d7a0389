#include "dialogs/ProductChoice.h"

#include "config/IniFile.h"
#include "config/Language.h"
#include "config/UserSettings.h"
#include "image/RadioImage.h"

namespace ProductChoice {

Outcome Current(const CIniFile &ini, const CRadioImage &image)
{
    Outcome outcome;
    const std::uint8_t type = image.Byte(ImageMap::kProductType);
    // The title and limits the channel view would give the same bytes: an unlisted type or band is
    // named unknown and checked against the band item its bytes select.
    outcome.typeText = ProductCatalog::ShownTypeText(ini, type, false);
    outcome.bandText = ProductCatalog::ShownBandText(ini, type, image.Byte(ImageMap::kFrequencyBand), false);
    outcome.limits = ProductCatalog::CheckedLimits(ini, image, CUserSettings::ForConfiguration(ini));
    // The displayed name comes from the section of the running language, and the labels too: the
    // title reads as the channel view writes it, in Chinese "类型:" and "频率:".
    const QString appName = ini.GetValue(CLanguage::Name(), QStringLiteral("AppName"));
    const bool zh = CLanguage::IsChinese();
    outcome.title = ProductCatalog::WindowTitle(appName, ProductCatalog::ShownTypeText(ini, type, zh),
        ProductCatalog::ShownBandText(ini, type, image.Byte(ImageMap::kFrequencyBand), zh), zh);
    return outcome;
}

Outcome Apply(const CIniFile &ini, CRadioImage &image, int typeIndex, int bandIndex, std::int64_t previousLower)
{
    if (typeIndex >= 0)
        image.SetByte(ImageMap::kProductType, static_cast<std::uint8_t>(typeIndex));
    if (bandIndex >= 0)
        image.SetByte(ImageMap::kFrequencyBand, static_cast<std::uint8_t>(bandIndex));
    const Outcome outcome = Current(ini, image);
    ProductCatalog::ApplyBandClassRule(image, previousLower, outcome.limits.lower);
    return outcome;
}

} // namespace ProductChoice
