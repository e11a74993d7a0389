#pragma once

#include <QTreeWidget>

// The second way into the editor pages: a root named after the company with Product Information,
// Channel Information and Optional Features under it, and the two service entries once unlocked.
// The item under the mouse pointer decides what a selection change runs (not the item selected),
// and the root is selected again afterwards, so the same entry can be chosen twice in a row.
class CNavigationTree : public QTreeWidget {
    Q_OBJECT

public:
    // Object name and control id of the tree.
    static constexpr int kControlId = 1031;

    explicit CNavigationTree(const QString& rootLabel, QWidget* parent = nullptr);

    // The label of a command's entry in the running language; empty for commands without one.
    static QString Label(int command);
    // Appends Power Adjustment and Parameter Adjustment under the root (once).
    void AddServiceEntries();
    QTreeWidgetItem* Root() const { return m_pRoot; }

signals:
    void CommandRequested(int command);

protected:
    // The dotted lines joining every entry to its parent, as well as the open/close button.
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    void OnSelectionChanged();
    void SelectRoot();
    QTreeWidgetItem* AddEntry(int command);

    QTreeWidgetItem* m_pRoot;
    bool m_bActivating = false;
};
