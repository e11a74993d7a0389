#include "csv/CompareDlg.h"

#include "config/Language.h"
#include "widgets/DialogHelp.h"
#include "widgets/HelpLayer.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QStyle>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

CCompareDlg::CCompareDlg(const std::vector<ImageDiff::Difference>& differences,
    const std::vector<ImageDiff::Difference>& notWritten, bool serviceMode, QWidget* parent)
    : QDialog(parent)
    , m_pKindWarning(new QLabel(this))
    , m_pSummary(new QLabel(this))
    , m_pTree(NewList(differences))
    , m_pOtherBytesNote(new QLabel(this))
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

    const bool zh = CLanguage::IsChinese();
    m_pOtherBytesNote->setWordWrap(true);
    m_pOtherBytesNote->setText(ImageDiff::OtherBytesNote(zh));
    m_pOtherBytesNote->setVisible(std::any_of(differences.begin(), differences.end(),
        [](const ImageDiff::Difference& d) { return d.group == ImageDiff::Group::OtherBytes; }));

    // A radio of another type or band leads the list, marked, with what a write across it would do.
    const bool otherKind = !differences.empty() && differences.front().IsRadioKind();
    m_pKindWarning->setWordWrap(true);
    m_pKindWarning->setStyleSheet(QStringLiteral("QLabel { color: #c00000; font-weight: bold; }"));
    m_pKindWarning->setText(ImageDiff::RadioKindWarning(zh));
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
    // The differences take what the window grows by; the tables below them a little of it.
    layout->addWidget(m_pTree, 3);
    layout->addWidget(m_pOtherBytesNote);
    layout->addWidget(m_pOthersSummary);
    layout->addWidget(m_pOthers, 1);
    layout->addWidget(buttons);
    resize(820, 600);
}

QTreeWidget* CCompareDlg::NewList(const std::vector<ImageDiff::Difference>& differences)
{
    auto* tree = new QTreeWidget(this);
    const bool zh = CLanguage::IsChinese();
    const bool bits = std::any_of(differences.begin(), differences.end(),
        [](const ImageDiff::Difference& d) { return !d.bits.isEmpty(); });
    QStringList headers { tr("Item"), tr("Document"), tr("Radio") };
    if (bits)
        headers << tr("Bits that differ");
    tree->setHeaderLabels(headers);
    const auto others = std::count_if(differences.begin(), differences.end(),
        [](const ImageDiff::Difference& d) { return d.group == ImageDiff::Group::OtherBytes; });
    QTreeWidgetItem* heading = nullptr;
    for (const ImageDiff::Difference& d : differences) {
        auto* item = new QTreeWidgetItem({ d.item, d.first, d.second, d.bits });
        if (d.IsRadioKind()) {
            item->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
            QFont bold = tree->font();
            bold.setBold(true);
            for (int column = 0; column < 3; ++column) {
                item->setFont(column, bold);
                item->setForeground(column, QColor(0xc0, 0, 0));
            }
        }
        if (!d.bits.isEmpty()) {
            item->setToolTip(0, d.bits);
            item->setToolTip(3, d.bits);
        }
        if (d.group != ImageDiff::Group::OtherBytes) {
            tree->addTopLevelItem(item);
            continue;
        }
        // The bytes no column or option shows go under one heading, closed: they seldom matter.
        if (!heading) {
            heading = new QTreeWidgetItem({ ImageDiff::OtherBytesHeading(int(others), zh) });
            heading->setToolTip(0, ImageDiff::OtherBytesNote(zh));
            tree->addTopLevelItem(heading);
            heading->setFirstColumnSpanned(true);
        }
        heading->addChild(item);
    }
    tree->setRootIsDecorated(heading != nullptr);
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree->header()->setStretchLastSection(false); // what the bits are reads whole, scrolled to if need be
    tree->setMinimumHeight(tree->fontMetrics().height() * 8);
    tree->setVisible(!differences.empty());
    return tree;
}
