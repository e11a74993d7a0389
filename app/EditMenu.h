#pragma once

#include <QList>
#include <QObject>

class CChildFrame;
class CMainFrame;
class QAction;
class QMenu;

// The editing entries at the top of the Edit menu: Undo and Redo of the active document, and the
// whole-channel commands of its channel view (Cut, Copy, Paste, Insert, Delete, Clear, Move Up, Move
// Down, Sort), which the grid's context menu offers too.
class CEditMenu : public QObject {
    Q_OBJECT

public:
    enum Command {
        kUndo = 57643,
        kRedo = 57644,
        kCut = 57635,
        kCopy = 57634,
        kPaste = 57637,
        kClear = 57632,
        kInsertChannel = 32840,
        kDeleteChannel = 32841,
        kMoveUp = 32842,
        kMoveDown = 32843,
        kSortByReceive = 32844,
    };

    CEditMenu(CMainFrame* frame, QMenu* edit);

    // A new document window: its grid gets the context menu, its undo history drives the entries.
    void Attach(CChildFrame* child);
    // Enables the entries for the active document (none: all off).
    void Update();
    QList<QAction*> RowActions() const { return m_RowActions; }

private:
    QAction* Add(QMenu* menu, QAction* before, int id, const QString& text, const QList<QKeySequence>& keys);
    void OnCommand(int id);

    CMainFrame* m_pFrame;
    QAction* m_pUndo = nullptr;
    QAction* m_pRedo = nullptr;
    QList<QAction*> m_RowActions;
};
