#include "csv/CompareDlg.h"

#include "config/Language.h"
#include "widgets/DialogHelp.h"
#include "widgets/HelpLayer.h"

#include <QDialogButtonBox>
#include <QStyle>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CCompareDlg::CCompareDlg(const std::vector<ImageDiff::Difference>& differences,
    const std::vector<ImageDiff::Difference>& notWritten, bool serviceMode, QWidget* parent)
    : QDialog(parent)
    , m_pKindWarning(new QLabel(this))
    , m_pSummary(new QLabel(this))
    , m_pTree(NewList(differences))
    , m_pOthersSummary(new QLabel(this))
    , m_pOthers(NewList(notWritten))
{
    setWindowTitle(tr("Compare with Radio"));
    CDialogHelp::Attach(this, CHelpLayer::kCompareTopic);
    if (differences.empty())
        m_pSummary->setText(notWritten.empty() ? tr("The radio holds what the document holds.")
                                               : tr("The radio holds what Write sends."));
    else
        m_pSummary->setText(
            tr("%1 difference(s) between the document and the radio:").arg(differences.size()));
    m_pOthersSummary->setWordWrap(true);
    m_pOthersSummary->setText(
        serviceMode ? tr(
            "Written only when Write is told to replace the power and alignment tables, %1 difference(s):")
                          .arg(notWritten.size())
                    : tr("Not written by Write (only in service mode), %1 difference(s):")
                          .arg(notWritten.size()));
    m_pOthersSummary->setVisible(!notWritten.empty());

    // A radio of another type or band leads the list, marked, with what a write across it would do.
    const bool otherKind = !differences.empty() && differences.front().radioKind;
    m_pKindWarning->setWordWrap(true);
    m_pKindWarning->setStyleSheet(QStringLiteral("QLabel { color: #c00000; font-weight: bold; }"));
    m_pKindWarning->setText(ImageDiff::RadioKindWarning(CLanguage::IsChinese()));
    m_pKindWarning->setVisible(otherKind);

    auto* buttons = new QDialogButtonBox(this);
    m_pWrite = buttons->addButton(tr("Write to Radio"), QDialogButtonBox::AcceptRole);
    // Only what a write can mend: the tables count in service mode, where Write offers to send them.
    m_pWrite->setEnabled(!differences.empty() || (serviceMode && !notWritten.empty()));
    buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pKindWarning);
    layout->addWidget(m_pSummary);
    layout->addWidget(m_pTree);
    layout->addWidget(m_pOthersSummary);
    layout->addWidget(m_pOthers);
    layout->addWidget(buttons);
    resize(640, 380);
}

QTreeWidget* CCompareDlg::NewList(const std::vector<ImageDiff::Difference>& differences)
{
    auto* tree = new QTreeWidget(this);
    tree->setRootIsDecorated(false);
    tree->setHeaderLabels({ tr("Item"), tr("Document"), tr("Radio") });
    for (const ImageDiff::Difference& d : differences) {
        auto* item = new QTreeWidgetItem({ d.item, d.first, d.second });
        if (d.radioKind) {
            item->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
            QFont bold = tree->font();
            bold.setBold(true);
            for (int column = 0; column < 3; ++column) {
                item->setFont(column, bold);
                item->setForeground(column, QColor(0xc0, 0, 0));
            }
        }
        tree->addTopLevelItem(item);
    }
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree->setVisible(!differences.empty());
    return tree;
}
