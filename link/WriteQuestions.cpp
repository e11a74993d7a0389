#include "link/WriteQuestions.h"

#include "config/Language.h"
#include "radio/BandFit.h"
#include "radio/UnlistedBand.h"
#include "image/ProgramDoc.h"
#include "radio/ServiceAccess.h"
#include "widgets/MessageBox.h"

namespace WriteQuestions {

std::optional<bool> Ask(QWidget* parent, const CIniFile& ini, const CProgramDoc& document,
    const CRadioImage& image, BandLimits limits)
{
    const bool zh = CLanguage::IsChinese();
    const std::vector<int> outside = BandFit::OutsideChannels(image, limits);
    if (!outside.empty()) {
        // A band byte the configuration lacks is named as such, with the band the channels were
        // checked against, rather than as a band called "Unknown".
        const QString unlisted = UnlistedBand::StatusNote(ini, image, zh);
        const QString band = unlisted.isEmpty()
            ? ProductCatalog::ShownBandText(
                ini, image.Byte(ImageMap::kProductType), image.Byte(ImageMap::kFrequencyBand), zh)
            : UnlistedBand::CheckedBand(ini, image, zh);
        const QString question = BandFit::BeforeWrite(outside, band, zh);
        if (CMessageBox::Ask(parent, unlisted.isEmpty() ? question : unlisted + QLatin1Char('\n') + question,
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
            return std::nullopt;
    }
    if (!CServiceAccess::IsGranted())
        return false;
    // The radio's calibration is replaced only on an explicit Yes, for this write alone.
    switch (CMessageBox::Ask(parent, document.TableOrigin().Question(image, zh),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No)) {
    case QMessageBox::Yes:
        return true;
    case QMessageBox::No:
        return false;
    default:
        return std::nullopt;
    }
}

} // namespace WriteQuestions
