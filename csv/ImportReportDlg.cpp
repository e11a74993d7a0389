#include "csv/ImportReportDlg.h"
#include "widgets/DialogHelp.h"
#include "widgets/HelpLayer.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CImportReportDlg::CImportReportDlg(const ChannelCsv::ImportPlan& plan, bool chinese, QWidget* parent)
    : QDialog(parent)
    , m_pSummary(new QLabel(this))
    , m_pList(new QListWidget(this))
{
    setWindowTitle(tr("Import CSV"));
    CDialogHelp::Attach(this, CHelpLayer::kCsvTopic);
    const int rows = static_cast<int>(plan.rows.size());
    m_pSummary->setWordWrap(true);
    m_pSummary->setText(plan.fileRefused
            ? tr("The file cannot be imported.")
            : tr("%1 row(s) cannot be placed in the channels, %2 can. Nothing has been imported yet.")
                  .arg(plan.refusals.size())
                  .arg(rows));
    for (const ChannelCsv::Refusal& refusal : plan.refusals)
        m_pList->addItem(ChannelCsv::Describe(refusal, chinese));

    // The band is the radio's setting, not the file's fault: say where to change it.
    m_pBandHint = new QLabel(tr("To choose another band: Edit > Product Information."), this);
    m_pBandHint->setVisible(plan.outOfBand);

    auto* buttons = new QDialogButtonBox(this);
    m_pImportRest = buttons->addButton(tr("Import the Rest"), QDialogButtonBox::AcceptRole);
    m_pImportRest->setEnabled(rows > 0);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pSummary);
    layout->addWidget(m_pList);
    layout->addWidget(m_pBandHint);
    layout->addWidget(buttons);
    resize(560, 300);
}
