#include "csv/ImportLocationDlg.h"
#include "widgets/DialogHelp.h"
#include "widgets/HelpLayer.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

CImportLocationDlg::CImportLocationDlg(ChannelCsv::Locations locations, QWidget* parent)
    : QDialog(parent)
    , m_Locations(std::move(locations))
    , m_pFirst(new QSpinBox(this))
    , m_pPreview(new QTreeWidget(this))
    , m_pSummary(new QLabel(this))
{
    setWindowTitle(tr("Import CSV"));
    CDialogHelp::Attach(this, CHelpLayer::kCsvTopic);
    // Rows in channel order; a Location given twice keeps its file order.
    std::stable_sort(m_Locations.rows.begin(), m_Locations.rows.end(),
        [](const ChannelCsv::LocationRow& a, const ChannelCsv::LocationRow& b) { return a.location < b.location; });

    auto* intro = new QLabel(tr("The file holds Locations %1 to %2, more than the radio's 16 channels. "
                                "Choose the Location that goes into channel 1.")
                                 .arg(m_Locations.lowest)
                                 .arg(m_Locations.highest),
        this);
    intro->setWordWrap(true);
    m_pFirst->setRange(m_Locations.lowest, m_Locations.highest);
    m_pFirst->setValue(m_Locations.lowest);
    auto* form = new QFormLayout;
    form->addRow(tr("First Location:"), m_pFirst);

    m_pPreview->setRootIsDecorated(false);
    m_pPreview->setHeaderLabels({ tr("Channel"), tr("Location"), tr("Frequency"), tr("Duplex"), tr("Offset"), tr("Tone") });
    m_pPreview->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pSummary->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    m_pImport = buttons->addButton(tr("Import"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pFirst, &QSpinBox::valueChanged, this, &CImportLocationDlg::ShowPreview);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(m_pPreview);
    layout->addWidget(m_pSummary);
    layout->addWidget(buttons);
    resize(600, 440);
    ShowPreview();
}

int CImportLocationDlg::FirstLocation() const
{
    return m_pFirst->value();
}

void CImportLocationDlg::ShowPreview()
{
    const int first = FirstLocation();
    const int last = first + ImageMap::kChannelCount - 1;
    m_pPreview->clear();
    int taken = 0;
    for (const ChannelCsv::LocationRow& row : m_Locations.rows) {
        if (row.location < first || row.location > last)
            continue;
        ++taken;
        m_pPreview->addTopLevelItem(new QTreeWidgetItem({ QString::number(row.location - first + 1),
            QString::number(row.location), row.frequency, row.duplex, row.offset, row.tone }));
    }
    const int leftOut = static_cast<int>(m_Locations.rows.size()) - taken;
    m_pSummary->setText(tr("Channels 1 to 16 take Locations %1 to %2 (%3 row(s)); %4 row(s) outside are left out.")
                            .arg(first)
                            .arg(last)
                            .arg(taken)
                            .arg(leftOut));
    m_pImport->setEnabled(taken > 0);
}
