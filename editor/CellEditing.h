#pragma once

#include "radio/ChannelGrid.h"

#include <QObject>
#include <QStringList>

#include <array>

class CMSFlexGrid;
class CProgramDoc;
class CProgramView;
class QComboBox;
class QLineEdit;

// The in-place cell editing of the channel view: one editor per column shown over the current cell,
// what counts as an edit, the commit of a cell (into the grid's working copy and at once into the
// document, one undo step each), and the keys: Enter and Tab commit and move on, Shift+Tab back,
// Escape drops the edit, F1 opens the focused control's help. The view holds one and forwards the
// grid's leave and enter events to it.
class CCellEditing : public QObject {
    Q_OBJECT

public:
    CCellEditing(CProgramView& view, CMSFlexGrid* grid, CChannelGrid& cells, CProgramDoc* document);

    // Builds the editors; the tone columns offer toneList.
    void CreateEditors(const QStringList& toneList);
    // The editor of a grid column (column 1 and any unknown column: the receive edit box).
    QWidget* EditorForColumn(int col) const;

    // Commits the editor open over the current cell (grid's leave-cell event; also before transfers).
    void OnLeaveCell();
    // Shows the column's editor over the current cell.
    void OnEnterCell();
    void OnGridMouseDown();
    void ShowEditorOverCurrentCell();
    void HideEditor(QWidget* editor);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString EditorText(const QWidget* editor) const;
    // Whether the user changed anything in the editor open over (row, col): typed a different text,
    // or chose an item of a list. Opening an editor and leaving it changes nothing.
    bool IsEdited(const QWidget* editor, int row, int col) const;
    // Commits editor over (row, col); shows the message of a refused value. Returns the outcome.
    CChannelGrid::Outcome CommitCell(int row, int col, QWidget* editor, CChannelGrid::Trigger trigger);
    // Enter and Tab commit the cell and move on; Shift+Tab (back) commits and moves to the previous cell.
    void OnEnterKey(bool back = false);
    // Escape in an editor: the edit is dropped and the cell keeps its text.
    void OnEscapeKey();

    CProgramView& m_View;
    CMSFlexGrid* m_Grid;
    CChannelGrid& m_Cells;
    CProgramDoc* m_pDocument;
    QLineEdit* m_RxEdit = nullptr;
    QLineEdit* m_TxEdit = nullptr;
    std::array<QComboBox*, 6> m_Lists {}; // columns 3..8
    bool m_bListChosen = false; // an item was chosen in the list editor open now
    bool m_bListTyped = false; // text was typed into the tone editor open now
};
