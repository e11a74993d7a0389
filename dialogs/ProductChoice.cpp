#include "dialogs/ProductChoice.h"

#include "config/IniFile.h"
#include "config/Language.h"
#include "image/RadioImage.h"

namespace ProductChoice {

Outcome Current(const CIniFile &ini, const CRadioImage &image)
{
    Outcome outcome;
    const std::uint8_t type = image.Byte(ImageMap::kProductType);
    outcome.typeText = ProductCatalog::TypeText(ini, type);
    outcome.bandText = ProductCatalog::BandText(ini, type, image.Byte(ImageMap::kFrequencyBand));
    outcome.limits = ProductCatalog::LimitsFromBandText(outcome.bandText);
    // The displayed name comes from the section of the running language.
    const QString appName = ini.GetValue(CLanguage::Name(), QStringLiteral("AppName"));
    outcome.title = ProductCatalog::WindowTitle(appName, outcome.typeText, outcome.bandText, false);
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

bool IsListed(const CIniFile &ini, int typeIndex, int bandIndex)
{
    return typeIndex >= 0 && typeIndex < ProductCatalog::TypeList(ini).size() && bandIndex >= 0
        && bandIndex < ProductCatalog::BandList(ini, typeIndex).size();
}

} // namespace ProductChoice
