#include "dialogs/OptionalFeaturesDlg.h"

#include "widgets/DialogLayout.h"
#include "widgets/HelpLayer.h"
#include "config/Language.h"
#include "radio/OptionalFeatures.h"
#include "image/ProgramDoc.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>

namespace {
// Two columns of five options each, a gap between them.
constexpr int kOptionRowsPerColumn = 5;
constexpr int kColumnGap = 18;
}

COptionalFeaturesDlg::COptionalFeaturesDlg(QWidget* parent)
    : QDialog(parent)
{
    CHelpLayer::SetControlId(this, kHelpTopic);
    auto* content = new QWidget(this);
    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12);
    const auto options = OptionalFeatures::All();
    static_assert(kOptionCount == 10);
    for (int i = 0; i < kOptionCount; ++i) {
        auto* label = new QLabel(content);
        auto* box = new QComboBox(content);
        CHelpLayer::SetControlId(box, options[i].controlId);
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        label->setBuddy(box);
        const int column = (i / kOptionRowsPerColumn) * 3;
        grid->addWidget(label, i % kOptionRowsPerColumn, column);
        grid->addWidget(box, i % kOptionRowsPerColumn, column + 1);
        m_Labels[i] = label;
        m_Boxes[i] = box;
    }
    grid->setColumnMinimumWidth(2, kColumnGap);
    DialogLayout::SetContentWithOkCancel(this, content);
}

int COptionalFeaturesDlg::Run(CProgramDoc* document)
{
    if (!document)
        return QDialog::Rejected;
    m_pDocument = document;
    const bool chinese = CLanguage::IsChinese();
    setWindowTitle(tr("Optional Features"));
    const auto options = OptionalFeatures::All();
    for (int i = 0; i < kOptionCount; ++i) {
        m_Labels[i]->setText(options[i].label.Text(chinese));
        m_Boxes[i]->clear();
        m_Boxes[i]->addItems(OptionalFeatures::Items(options[i], chinese));
        // A byte outside the list shows no selection and is kept as it is on OK.
        m_Boxes[i]->setCurrentIndex(OptionalFeatures::SelectionFromImage(options[i], document->m_Image));
    }
    m_Boxes[0]->setFocus();
    adjustSize();
    return exec();
}

void COptionalFeaturesDlg::accept()
{
    if (CProgramDoc* document = m_pDocument) {
        const auto options = OptionalFeatures::All();
        const CRadioImage before = document->m_Image;
        for (int i = 0; i < kOptionCount; ++i)
            OptionalFeatures::StoreSelection(options[i], document->m_Image, m_Boxes[i]->currentIndex());
        // The options live in the image: one step of the undo history, and closing asks to save them.
        document->RecordChange(before, QStringLiteral("Optional Features"));
    }
    QDialog::accept();
}

void COptionalFeaturesDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        CHelpLayer::ShowTopic(this, CHelpLayer::ControlId(focusWidget() ? focusWidget() : this));
        return;
    }
    QDialog::keyPressEvent(event);
}
