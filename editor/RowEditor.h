#pragma once

#include "editor/ChannelRows.h"

#include <QList>
#include <QObject>

#include <functional>

class CProgramView;
class QAction;
class QMenu;
class QPoint;

// Whole-channel editing in the channel view: the rows the user selected by their numbers, and the
// Cut, Copy, Paste, Insert, Delete, Clear, Move and Sort commands over them. The work is done by
// ChannelRows on a copy of the image, which the document takes as one undoable step.
class CRowEditor : public QObject {
    Q_OBJECT

public:
    explicit CRowEditor(CProgramView* view);

    // The channels a command acts on: the selected rows, else the current cell's row.
    ChannelRows::Range Target() const;
    bool HasSelection() const { return m_nFirst > 0; }
    void Select(ChannelRows::Range range);
    void ClearSelection();

    // A press on a row's number: selects it, Shift extends from the last one, a right press keeps a
    // selection it falls into.
    void OnRowNumberPressed(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // Shift+Up and Shift+Down: the selection grows or shrinks by one row from where it began (the
    // current cell's row when none is selected); Shift+Space selects the current row alone.
    void ExtendSelection(int delta);

    void Cut();
    void Copy();
    void Paste();
    void InsertChannel();
    void DeleteChannel();
    void Clear();
    void MoveUp();
    void MoveDown();
    void Sort();

    // The grid's context menu offers these (the Edit menu's own entries).
    void SetContextActions(const QList<QAction*>& actions) { m_ContextActions = actions; }
    // A new menu with those entries, for a right click at pos in the grid's client area.
    QMenu* BuildContextMenu();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Commits an open editor, then hands the edited copy of the image to the document.
    bool Apply(const QString& text, const std::function<bool(CRadioImage&)>& edit);
    void ShowMessage(const QString& text);
    void Paint();
    void OnContextMenu(const QPoint& pos);

    CProgramView* m_pView;
    int m_nAnchor = 0;
    int m_nFirst = 0; // 0: nothing selected
    int m_nLast = 0;
    QList<QAction*> m_ContextActions;
};
