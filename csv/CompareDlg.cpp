#include "csv/CompareDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CCompareDlg::CCompareDlg(const std::vector<ImageDiff::Difference>& differences, QWidget* parent)
    : QDialog(parent)
    , m_pSummary(new QLabel(this))
    , m_pTree(new QTreeWidget(this))
{
    setWindowTitle(tr("Compare with Radio"));
    m_pSummary->setText(differences.empty()
            ? tr("The radio holds what the document holds.")
            : tr("%1 difference(s) between the document and the radio:").arg(differences.size()));
    m_pTree->setRootIsDecorated(false);
    m_pTree->setHeaderLabels({ tr("Item"), tr("Document"), tr("Radio") });
    for (const ImageDiff::Difference& d : differences)
        m_pTree->addTopLevelItem(new QTreeWidgetItem({ d.item, d.first, d.second }));
    m_pTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pTree->setVisible(!differences.empty());

    auto* buttons = new QDialogButtonBox(this);
    m_pWrite = buttons->addButton(tr("Write to Radio"), QDialogButtonBox::AcceptRole);
    m_pWrite->setEnabled(!differences.empty());
    buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pSummary);
    layout->addWidget(m_pTree);
    layout->addWidget(buttons);
    resize(640, 380);
}
