#include "csv/ImportLocationDlg.h"
#include "widgets/DialogHelp.h"
#include "widgets/HelpLayer.h"

#include "csv/ImportPreview.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

CImportLocationDlg::CImportLocationDlg(
    ChannelCsv::Locations locations, Planner planner, const QStringList& gridColumns, QWidget* parent)
    : QDialog(parent)
    , m_Locations(std::move(locations))
    , m_Planner(std::move(planner))
    , m_pFirst(new QSpinBox(this))
    , m_pPreview(new QTreeWidget(this))
    , m_pSummary(new QLabel(this))
    , m_pNames(new QLabel(tr("Channel names are not kept: the radio stores none."), this))
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
    m_pPreview->setHeaderLabels(QStringList { tr("Channel"), tr("Location") } + gridColumns + QStringList { tr("Note") });
    m_pPreview->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pPreview->header()->setStretchLastSection(false); // the reason a row is refused reads whole
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
    layout->addWidget(m_pNames);
    layout->addWidget(buttons);
    resize(1100, 520);
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
    const ChannelCsv::ImportPlan plan = m_Planner(first);
    m_pPreview->clear();
    int taken = 0, refused = 0;
    for (const ImportPreview::Row& row : ImportPreview::Rows(m_Locations, plan)) {
        ++taken;
        QStringList texts { QString::number(row.channel), QString::number(row.location) };
        for (const QString& text : row.texts)
            texts << text;
        texts << row.note;
        auto* item = new QTreeWidgetItem(texts);
        if (row.refused) {
            ++refused;
            item->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
            for (int column = 0; column < texts.size(); ++column) {
                item->setForeground(column, QColor(0xc0, 0, 0));
                item->setToolTip(column, row.note);
            }
        }
        m_pPreview->addTopLevelItem(item);
    }
    const int leftOut = static_cast<int>(m_Locations.rows.size()) - taken;
    QString summary = tr("Channels 1 to 16 take Locations %1 to %2 (%3 row(s)); %4 row(s) outside are left out.")
                          .arg(first)
                          .arg(last)
                          .arg(taken)
                          .arg(leftOut);
    if (refused)
        summary += QLatin1Char('\n') + tr("%1 row(s) marked in red cannot be placed and will be refused; Import takes the others.").arg(refused);
    m_pSummary->setText(summary);
    m_pImport->setEnabled(!plan.rows.empty());
}
