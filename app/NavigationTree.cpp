#include "app/NavigationTree.h"

#include "app/MainFrame.h"
#include "widgets/PaintedIcon.h"
#include "config/Language.h"

#include <QCursor>

namespace {

struct Entry
{
    int command;
    CBilingual label;
};

// In the order a label is matched.
constexpr Entry kEntries[] = {
    { CMainFrame::kChannelInformation, { "Channel Information", "信道信息" } },
    { CMainFrame::kOptionalFeatures, { "Optional Features", "可选功能" } },
    { CMainFrame::kProductInformation, { "Product Information", "类型设置" } },
    { CMainFrame::kPowerAdjust, { "Power Adjustment", "功率调整" } },
    { CMainFrame::kParameterAdjust, { "Parameter Adjustment", "参数调整" } },
};

} // namespace

CNavigationTree::CNavigationTree(const QString& rootLabel, QWidget* parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("navigationTree"));
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setIconSize(QSize(16, 16));
    m_pRoot = new QTreeWidgetItem(this, { rootLabel });
    m_pRoot->setIcon(0, PaintedIcon::Icon(PaintedIcon::Kind::Radio));
    AddEntry(CMainFrame::kProductInformation);
    AddEntry(CMainFrame::kChannelInformation);
    AddEntry(CMainFrame::kOptionalFeatures);
    m_pRoot->setExpanded(true);
    setCurrentItem(m_pRoot);
    connect(this, &QTreeWidget::currentItemChanged, this, &CNavigationTree::OnSelectionChanged);
}

QString CNavigationTree::Label(int command)
{
    for (const Entry& entry : kEntries)
        if (entry.command == command)
            return entry.label.Text();
    return {};
}

QTreeWidgetItem* CNavigationTree::AddEntry(int command)
{
    auto* item = new QTreeWidgetItem(m_pRoot, { Label(command) });
    item->setIcon(0, PaintedIcon::Icon(PaintedIcon::Kind::New));
    return item;
}

void CNavigationTree::AddServiceEntries()
{
    const QString power = Label(CMainFrame::kPowerAdjust);
    for (int i = 0; i < m_pRoot->childCount(); ++i)
        if (m_pRoot->child(i)->text(0) == power)
            return;
    AddEntry(CMainFrame::kPowerAdjust);
    AddEntry(CMainFrame::kParameterAdjust);
}

void CNavigationTree::OnSelectionChanged()
{
    // Selecting the root again below changes the selection once more; that pass runs nothing, so a
    // dialog closed with Enter while the pointer still rests on its entry does not open again.
    if (m_bActivating)
        return;
    m_bActivating = true;
    // The entry under the pointer decides, whichever item the selection moved to.
    const QTreeWidgetItem* item = itemAt(viewport()->mapFromGlobal(QCursor::pos()));
    if (item && item != m_pRoot) {
        for (const Entry& entry : kEntries) {
            if (entry.label.Text() == item->text(0)) {
                emit CommandRequested(entry.command);
                break;
            }
        }
    }
    setCurrentItem(m_pRoot);
    m_bActivating = false;
}
