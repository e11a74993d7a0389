#include "cli/CliWriteChecks.h"

#include "cli/CliContext.h"
#include "config/Language.h"
#include "config/UserSettings.h"
#include "radio/BandFit.h"
#include "radio/UnlistedBand.h"
#include "image/RadioImage.h"

namespace {
constexpr CBilingual kTablesKept {
    "The radio keeps its power and alignment tables; add --with-alignment to replace them with the file's.",
    "电台保留其功率表和校准表; 如需用文件中的替换, 请加上 --with-alignment。"
};
}

void CCliWriteChecks::Take(QStringList& args)
{
    m_bWithAlignment = args.removeAll(QStringLiteral("--with-alignment")) > 0;
    m_bAllowOutOfBand = args.removeAll(QStringLiteral("--allow-out-of-band")) > 0;
}

QString CCliWriteChecks::UsageError(bool hasAccessCode) const
{
    return m_bWithAlignment && !hasAccessCode ? QStringLiteral("--with-alignment needs --access-code")
                                              : QString();
}

int CCliWriteChecks::Check(CCliContext& context, const CRadioImage& image, bool hasAccessCode) const
{
    const bool zh = context.IsChinese();
    if (!m_bAllowOutOfBand) {
        const CIniFile& ini = context.Ini();
        const BandLimits limits
            = ProductCatalog::CheckedLimits(ini, image, CUserSettings::ForConfiguration(ini));
        const std::vector<int> outside = BandFit::OutsideChannels(image, limits);
        if (!outside.empty()) {
            const std::uint8_t type = image.Byte(ImageMap::kProductType);
            const std::uint8_t band = image.Byte(ImageMap::kFrequencyBand);
            // A band the lists lack is named as such, not as a band the channels lie outside.
            if (!ProductCatalog::IsListed(ini, type, band))
                return context.Fail(UnlistedBand::WriteRefusal(ini, image, outside, zh));
            return context.Fail(BandFit::Refused(outside, ProductCatalog::BandText(ini, type, band), zh));
        }
    }
    if (hasAccessCode && !m_bWithAlignment)
        context.Err() << kTablesKept.Text(zh) << Qt::endl;
    return CCliContext::kDone;
}
