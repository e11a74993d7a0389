#include "app/NavigationTree.h"

#include "app/MainFrame.h"
#include "widgets/PaintedIcon.h"
#include "config/Language.h"

#include <QCursor>
#include <QPainter>
#include <QTimer>

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
    SelectRoot();
    m_bActivating = false;
    // A mouse press selects its item only after the change reported here: select the root once more
    // when the press is done, so that the clicked entry does not stay highlighted.
    QTimer::singleShot(0, this, &CNavigationTree::SelectRoot);
}

void CNavigationTree::SelectRoot()
{
    const bool activating = m_bActivating;
    m_bActivating = true;
    setCurrentItem(m_pRoot);
    m_bActivating = activating;
}

void CNavigationTree::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    // The branch area holds one column of indentation per level, the item's own last. A vertical line
    // runs down a column while the item of that level has siblings below it; the item's own column
    // also joins it to the line from above and sends a stub to the right.
    const int indent = indentation();
    const int middle = rect.top() + rect.height() / 2;
    painter->save();
    QPen pen(palette().color(QPalette::Dark));
    pen.setStyle(Qt::DotLine);
    painter->setPen(pen);
    QModelIndex level = index;
    int depth = 0;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        ++depth;
    for (int column = depth; column >= 0; --column, level = level.parent()) {
        const int x = rect.left() + column * indent + indent / 2;
        const bool more = level.sibling(level.row() + 1, 0).isValid();
        if (column == depth) {
            const bool joined = level.row() > 0 || level.parent().isValid();
            painter->drawLine(x, joined ? rect.top() : middle, x, more ? rect.bottom() : middle);
            painter->drawLine(x, middle, rect.left() + (column + 1) * indent - 1, middle);
        } else if (more) {
            painter->drawLine(x, rect.top(), x, rect.bottom());
        }
    }
    painter->restore();
    QTreeWidget::drawBranches(painter, rect, index);
}
