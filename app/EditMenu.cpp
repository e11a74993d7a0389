#include "app/EditMenu.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "editor/ProgramView.h"
#include "editor/RowEditor.h"
#include "image/ProgramDoc.h"

#include "config/Language.h"

#include <QMenu>
#include <QShortcut>

namespace {

// What the status bar says while the pointer rests on an entry.
struct Prompt {
    int id;
    CBilingual text;
};
constexpr Prompt kPrompts[] = {
    { CEditMenu::kUndo, { "Undo the last change", "撤销上一次更改" } },
    { CEditMenu::kRedo, { "Redo the change undone last", "重做上一次撤销的更改" } },
    { CEditMenu::kCut,
        { "Copy the selected channels to the clipboard and clear them", "将所选信道复制到剪贴板并清除" } },
    { CEditMenu::kCopy, { "Copy the selected channels to the clipboard", "将所选信道复制到剪贴板" } },
    { CEditMenu::kPaste, { "Put the channels on the clipboard here", "在此处粘贴剪贴板中的信道" } },
    { CEditMenu::kInsertChannel,
        { "Insert an empty channel; the later ones move down", "插入空信道, 其后的信道下移" } },
    { CEditMenu::kDeleteChannel,
        { "Delete the selected channels; the later ones move up", "删除所选信道, 其后的信道上移" } },
    { CEditMenu::kClear, { "Clear the selected channels", "清除所选信道" } },
    { CEditMenu::kMoveUp, { "Move the selected channels up one place", "所选信道上移一位" } },
    { CEditMenu::kMoveDown, { "Move the selected channels down one place", "所选信道下移一位" } },
    { CEditMenu::kSortByReceive, { "Sort the channels by receive frequency", "按接收频率排列信道" } },
};

} // namespace

CEditMenu::CEditMenu(CMainFrame* frame, QMenu* edit)
    : QObject(frame)
    , m_pFrame(frame)
{
    QAction* first = edit->actions().value(0);
    m_pUndo = Add(edit, first, kUndo, tr("&Undo"), { QKeySequence(Qt::CTRL | Qt::Key_Z) });
    m_pRedo = Add(edit, first, kRedo, tr("&Redo"),
        { QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) });
    edit->insertSeparator(first);
    m_RowActions << Add(edit, first, kCut, tr("Cu&t"), { QKeySequence(Qt::CTRL | Qt::Key_X) })
                 << Add(edit, first, kCopy, tr("Cop&y"), { QKeySequence(Qt::CTRL | Qt::Key_C) })
                 << Add(edit, first, kPaste, tr("P&aste"), { QKeySequence(Qt::CTRL | Qt::Key_V) });
    QAction* separator = edit->insertSeparator(first);
    m_RowActions << separator;
    m_RowActions << Add(edit, first, kInsertChannel, tr("&Insert Channel"), { QKeySequence(Qt::Key_Insert) })
                 << Add(edit, first, kDeleteChannel, tr("&Delete Channel"),
                        { QKeySequence(Qt::CTRL | Qt::Key_Delete) })
                 << Add(edit, first, kClear, tr("Cl&ear"), { QKeySequence(Qt::Key_Delete) });
    separator = edit->insertSeparator(first);
    m_RowActions << separator;
    m_RowActions << Add(edit, first, kMoveUp, tr("Mo&ve Up"), { QKeySequence(Qt::ALT | Qt::Key_Up) })
                 << Add(edit, first, kMoveDown, tr("Move Do&wn"), { QKeySequence(Qt::ALT | Qt::Key_Down) })
                 << Add(edit, first, kSortByReceive, tr("&Sort by Rx Frequency"), {});
    edit->insertSeparator(first);
    // The channel commands' keys work only inside a channel view (see Attach): Delete in the
    // navigation tree must not clear a channel.
    for (QAction* action : std::as_const(m_RowActions))
        action->setShortcutContext(Qt::WidgetShortcut);
    Update();
}

QAction* CEditMenu::Add(
    QMenu* menu, QAction* before, int id, const QString& text, const QList<QKeySequence>& keys)
{
    auto* action = new QAction(text, menu);
    action->setData(id);
    action->setShortcuts(keys);
    for (const Prompt& prompt : kPrompts)
        if (prompt.id == id)
            action->setStatusTip(prompt.text.Text());
    menu->insertAction(before, action);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    return action;
}

void CEditMenu::Attach(CChildFrame* child)
{
    CProgramView* view = child->View();
    view->RowEditor()->SetContextActions(m_RowActions);
    for (QAction* action : std::as_const(m_RowActions)) {
        for (const QKeySequence& key : action->shortcuts()) {
            auto* shortcut = new QShortcut(key, view, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
            connect(shortcut, &QShortcut::activated, action, [action] {
                if (action->isEnabled())
                    action->trigger();
            });
        }
    }
    QUndoStack* stack = child->Document()->UndoStack();
    connect(stack, &QUndoStack::canUndoChanged, this, &CEditMenu::Update);
    connect(stack, &QUndoStack::canRedoChanged, this, &CEditMenu::Update);
    Update();
}

void CEditMenu::Update()
{
    CChildFrame* child = m_pFrame->ActiveChild();
    QUndoStack* stack = child ? child->Document()->UndoStack() : nullptr;
    m_pUndo->setEnabled(stack && stack->canUndo());
    m_pRedo->setEnabled(stack && stack->canRedo());
    for (QAction* action : std::as_const(m_RowActions))
        action->setEnabled(child != nullptr);
}

void CEditMenu::OnCommand(int id)
{
    CChildFrame* child = m_pFrame->ActiveChild();
    if (!child)
        return;
    CRowEditor* rows = child->View()->RowEditor();
    switch (id) {
    case kUndo:
        child->Document()->Undo();
        break;
    case kRedo:
        child->Document()->Redo();
        break;
    case kCut:
        rows->Cut();
        break;
    case kCopy:
        rows->Copy();
        break;
    case kPaste:
        rows->Paste();
        break;
    case kClear:
        rows->Clear();
        break;
    case kInsertChannel:
        rows->InsertChannel();
        break;
    case kDeleteChannel:
        rows->DeleteChannel();
        break;
    case kMoveUp:
        rows->MoveUp();
        break;
    case kMoveDown:
        rows->MoveDown();
        break;
    case kSortByReceive:
        rows->Sort();
        break;
    default:
        break;
    }
}
