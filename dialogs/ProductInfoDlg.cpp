#include "dialogs/ProductInfoDlg.h"

#include "widgets/DialogLayout.h"
#include "widgets/HelpLayer.h"
#include "widgets/MessageBox.h"
#include "config/IniFile.h"
#include "config/Language.h"
#include "config/UserSettings.h"
#include "radio/BandFit.h"
#include "dialogs/ProductChoice.h"
#include "image/ProgramDoc.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>

namespace {

// Band texts such as "130 - 160MHz" fit without being cut off.
constexpr int kMinimumChars = 16;

int listed(std::uint32_t index, int count)
{
    return index < static_cast<std::uint32_t>(count) ? static_cast<int>(index) : -1;
}

} // namespace

CProductInfoDlg::CProductInfoDlg(QWidget* parent)
    : QDialog(parent)
    , m_Group(new QGroupBox(this))
    , m_TypeLabel(new QLabel(m_Group))
    , m_BandLabel(new QLabel(m_Group))
    , m_Type(new QComboBox(m_Group))
    , m_Band(new QComboBox(m_Group))
{
    CHelpLayer::SetControlId(this, kHelpTopic);
    CHelpLayer::SetControlId(m_Type, kTypeId);
    CHelpLayer::SetControlId(m_Band, kFrequencyId);
    for (QComboBox* box : { m_Type, m_Band }) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        box->setMinimumContentsLength(kMinimumChars);
    }
    m_TypeLabel->setBuddy(m_Type);
    m_BandLabel->setBuddy(m_Band);

    auto* form = new QFormLayout(m_Group);
    form->addRow(m_TypeLabel, m_Type);
    form->addRow(m_BandLabel, m_Band);
    DialogLayout::SetContentWithOkCancel(this, m_Group);
    connect(m_Type, &QComboBox::currentIndexChanged, this, &CProductInfoDlg::OnTypeChanged);
}

int CProductInfoDlg::Run(const Target& target)
{
    if (!target.view)
        return QDialog::Rejected;
    m_Target = target;
    m_pView = target.view;
    setWindowTitle(tr("Product Information"));
    m_Group->setTitle(tr("Setting"));
    m_TypeLabel->setText(tr("Type"));
    m_BandLabel->setText(tr("Frequency"));

    const CIniFile& ini = *target.ini;
    const CRadioImage& image = target.document->m_Image;
    {
        // The image's type first; this user's own choice then replaces it.
        const QSignalBlocker blocker(m_Type);
        m_Type->clear();
        m_Type->addItems(ProductCatalog::TypeList(ini));
        m_Type->setCurrentIndex(listed(image.Byte(ImageMap::kProductType), m_Type->count()));
        FillBands(m_Type->currentIndex());
        m_Band->setCurrentIndex(-1);

        const CUserSettings settings = CUserSettings::ForConfiguration(ini);
        m_Type->setCurrentIndex(listed(settings.Type(), m_Type->count()));
        OnTypeChanged(m_Type->currentIndex());
        m_Band->setCurrentIndex(listed(settings.Field(), m_Band->count()));
    }
    m_Type->setFocus();
    adjustSize();
    return exec();
}

void CProductInfoDlg::FillBands(int typeIndex)
{
    m_Band->clear();
    // Without a type there is no band list to offer.
    if (typeIndex >= 0)
        m_Band->addItems(ProductCatalog::BandList(*m_Target.ini, typeIndex));
}

void CProductInfoDlg::OnTypeChanged(int index)
{
    if (!m_pView)
        return;
    FillBands(index);
    m_Band->setCurrentIndex(m_Band->count() > 0 ? 0 : -1);
}

void CProductInfoDlg::accept()
{
    QString outsideText;
    if (QWidget* view = m_pView) {
        CProgramDoc* document = m_Target.document;
        const CIniFile& ini = *m_Target.ini;
        const BandLimits limits = m_Target.limits();
        const int type = m_Type->currentIndex();
        const int band = m_Band->currentIndex();
        const CRadioImage before = document->m_Image;
        const ProductChoice::Outcome outcome
            = ProductChoice::Apply(ini, document->m_Image, type, band, limits.lower);
        m_Target.setTitle(view->window(), outcome.title);
        const bool moved = outcome.limits.lower != limits.lower || outcome.limits.upper != limits.upper;
        m_Target.setLimits(outcome.limits);
        // Channels of the old band keep their bytes; the user is told which ones the new band leaves out.
        CRadioImage channels = document->m_Image;
        m_Target.storeGrid(channels);
        const std::vector<int> outside = BandFit::OutsideChannels(channels, outcome.limits);
        if (moved && !outside.empty())
            outsideText = BandFit::AfterBandChange(outside,
                ProductCatalog::ShownBandText(ini, channels.Byte(ImageMap::kProductType),
                    channels.Byte(ImageMap::kFrequencyBand), CLanguage::IsChinese()),
                CLanguage::IsChinese());
        CUserSettings settings = CUserSettings::ForConfiguration(ini);
        ProductCatalog::RememberTypeAndBand(ini, settings, type, band);
        // The choice lives in the image: one step of the undo history, and closing asks to save it.
        document->RecordChange(before, QStringLiteral("Product Information"));
    }
    QDialog::accept();
    if (!outsideText.isEmpty())
        CMessageBox::Show(m_pView, outsideText, QMessageBox::Ok, QMessageBox::Information);
}

void CProductInfoDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        CHelpLayer::ShowTopic(this, CHelpLayer::ControlId(focusWidget() ? focusWidget() : this));
        return;
    }
    QDialog::keyPressEvent(event);
}
