#include "link/WriteQuestions.h"

#include "config/Language.h"
#include "dialogs/BandFit.h"
#include "image/ProgramDoc.h"
#include "service/ServiceAccess.h"
#include "widgets/MessageBox.h"

namespace WriteQuestions {

std::optional<bool> Ask(QWidget* parent, const CIniFile& ini, const CProgramDoc& document,
    const CRadioImage& image, BandLimits limits)
{
    const bool zh = CLanguage::IsChinese();
    const std::vector<int> outside = BandFit::OutsideChannels(image, limits);
    if (!outside.empty()) {
        const QString band = ProductCatalog::ShownBandText(
            ini, image.Byte(ImageMap::kProductType), image.Byte(ImageMap::kFrequencyBand), zh);
        if (CMessageBox::Ask(parent, BandFit::BeforeWrite(outside, band, zh),
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
