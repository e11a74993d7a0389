#include "editor/RowEditor.h"

#include "widgets/MessageBox.h"
#include "config/Language.h"
#include "widgets/MSFlexGrid.h"
#include "editor/ProgramView.h"
#include "image/ProgramDoc.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>

using ChannelRows::Range;

namespace {
// Longer reports are cut here; the user fixes the first lines and pastes again.
constexpr int kMaxListedErrors = 12;
}

CRowEditor::CRowEditor(CProgramView* view)
    : QObject(view)
    , m_pView(view)
{
    CMSFlexGrid* grid = view->Grid();
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, &CRowEditor::OnContextMenu);
    // A cell the user goes to ends a selection of rows.
    connect(grid, &CMSFlexGrid::EnterCell, this, &CRowEditor::ClearSelection);
    grid->viewport()->installEventFilter(this);
    for (const auto& [key, delta] : { std::pair { Qt::SHIFT | Qt::Key_Up, -1 },
             std::pair { Qt::SHIFT | Qt::Key_Down, 1 }, std::pair { Qt::SHIFT | Qt::Key_Space, 0 } }) {
        auto* shortcut
            = new QShortcut(QKeySequence(key), view, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, delta = delta] { ExtendSelection(delta); });
    }
}

void CRowEditor::ExtendSelection(int delta)
{
    m_pView->OnLeaveCell();
    if (!HasSelection() || delta == 0) {
        const int row = int(m_pView->Grid()->GetRow());
        m_nAnchor = m_nFirst = m_nLast = row;
        if (delta == 0) {
            Paint();
            return;
        }
    }
    // The end away from the anchor moves.
    int moving = (m_nFirst == m_nAnchor ? m_nLast : m_nFirst) + delta;
    moving = std::clamp(moving, 1, int(ImageMap::kChannelCount));
    m_nFirst = std::min(m_nAnchor, moving);
    m_nLast = std::max(m_nAnchor, moving);
    Paint();
}

Range CRowEditor::Target() const
{
    if (HasSelection())
        return { m_nFirst, m_nLast };
    const int row = int(m_pView->Grid()->GetRow());
    return { row, row };
}

void CRowEditor::Select(Range range)
{
    if (!range.IsValid()) {
        ClearSelection();
        return;
    }
    m_nAnchor = range.first;
    m_nFirst = range.first;
    m_nLast = range.last;
    Paint();
}

void CRowEditor::ClearSelection()
{
    if (!HasSelection())
        return;
    m_nAnchor = m_nFirst = m_nLast = 0;
    Paint();
}

void CRowEditor::OnRowNumberPressed(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    if (row < 1 || row > ImageMap::kChannelCount)
        return;
    m_pView->OnLeaveCell(); // the row's own edit first
    if (button == Qt::RightButton && HasSelection() && row >= m_nFirst && row <= m_nLast)
        return;
    if ((modifiers & Qt::ShiftModifier) && m_nAnchor > 0) {
        m_nFirst = std::min(m_nAnchor, row);
        m_nLast = std::max(m_nAnchor, row);
    } else {
        m_nAnchor = m_nFirst = m_nLast = row;
    }
    Paint();
}

// Selected rows are filled like a selection anywhere else; the current cell keeps only its frame.
void CRowEditor::Paint()
{
    CMSFlexGrid* grid = m_pView->Grid();
    const QPalette palette = grid->palette();
    for (int row = 1; row <= ImageMap::kChannelCount && row < grid->rowCount(); ++row) {
        const bool selected = row >= m_nFirst && row <= m_nLast && HasSelection();
        for (int col = 1; col < grid->columnCount(); ++col) {
            QTableWidgetItem* cell = grid->item(row, col);
            if (!cell)
                continue;
            cell->setData(Qt::BackgroundRole, selected ? QVariant(palette.highlight()) : QVariant());
            cell->setData(Qt::ForegroundRole, selected ? QVariant(palette.highlightedText()) : QVariant());
        }
    }
}

bool CRowEditor::Apply(const QString& text, const std::function<bool(CRadioImage&)>& edit)
{
    m_pView->OnLeaveCell();
    CProgramDoc* document = m_pView->GetDocument();
    CRadioImage image = document->m_Image;
    if (!edit(image))
        return false;
    document->ChangeImage(image, text);
    return true;
}

void CRowEditor::ShowMessage(const QString& text)
{
    CMessageBox::Show(m_pView, text, QMessageBox::Ok, QMessageBox::Warning);
}

void CRowEditor::Copy()
{
    m_pView->OnLeaveCell();
    QApplication::clipboard()->setText(
        ChannelRows::CopyText(m_pView->GetDocument()->m_Image, Target(), CLanguage::IsChinese()));
}

void CRowEditor::Cut()
{
    const Range range = Target();
    Copy();
    Apply(QStringLiteral("Cut"), [range](CRadioImage& image) {
        ChannelRows::Clear(image, range);
        return true;
    });
    Select(range);
}

void CRowEditor::Paste()
{
    m_pView->OnLeaveCell();
    const bool zh = CLanguage::IsChinese();
    const ChannelRows::PasteResult pasted = ChannelRows::ParsePaste(
        QApplication::clipboard()->text(), { m_pView->m_nLowerLimit, m_pView->m_nUpperLimit }, zh);
    if (!pasted.errors.isEmpty()) {
        QStringList lines = pasted.errors.mid(0, kMaxListedErrors);
        if (pasted.errors.size() > kMaxListedErrors)
            lines << QStringLiteral("...");
        ShowMessage(lines.join(QLatin1Char('\n'))); // nothing is pasted while any line is refused
        return;
    }
    if (pasted.rows.empty()) {
        ShowMessage(ChannelRows::NothingToPasteMessage(zh));
        return;
    }
    const int at = Target().first;
    const int count = int(pasted.rows.size());
    if (!Apply(QStringLiteral("Paste"),
            [&](CRadioImage& image) { return ChannelRows::ApplyPaste(image, at, pasted.rows, zh); })) {
        ShowMessage(ChannelRows::PasteTooLongMessage(count, at, zh));
        return;
    }
    Select({ at, at + count - 1 });
}

void CRowEditor::InsertChannel()
{
    const Range range = Target();
    if (!Apply(QStringLiteral("Insert"),
            [range](CRadioImage& image) { return ChannelRows::Insert(image, range.first, range.Count()); })) {
        ShowMessage(ChannelRows::InsertRefusedMessage(CLanguage::IsChinese()));
        return;
    }
    Select(range);
}

void CRowEditor::DeleteChannel()
{
    const Range range = Target();
    Apply(QStringLiteral("Delete"), [range](CRadioImage& image) {
        ChannelRows::Remove(image, range);
        return true;
    });
    ClearSelection();
}

void CRowEditor::Clear()
{
    const Range range = Target();
    Apply(QStringLiteral("Clear"), [range](CRadioImage& image) {
        ChannelRows::Clear(image, range);
        return true;
    });
    Select(range);
}

void CRowEditor::MoveUp()
{
    const Range range = Target();
    if (Apply(QStringLiteral("Move Up"),
            [range](CRadioImage& image) { return ChannelRows::Move(image, range, -1); }))
        Select({ range.first - 1, range.last - 1 });
}

void CRowEditor::MoveDown()
{
    const Range range = Target();
    if (Apply(QStringLiteral("Move Down"),
            [range](CRadioImage& image) { return ChannelRows::Move(image, range, 1); }))
        Select({ range.first + 1, range.last + 1 });
}

void CRowEditor::Sort()
{
    Apply(QStringLiteral("Sort"), [](CRadioImage& image) {
        ChannelRows::SortByReceive(image);
        return true;
    });
    ClearSelection();
}

QMenu* CRowEditor::BuildContextMenu()
{
    auto* menu = new QMenu(m_pView);
    menu->addActions(m_ContextActions);
    return menu;
}

void CRowEditor::OnContextMenu(const QPoint& pos)
{
    if (m_ContextActions.isEmpty())
        return;
    QMenu* menu = BuildContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_pView->Grid()->viewport()->mapToGlobal(pos));
}

// A right press inside the selected rows keeps them selected for the context menu, instead of
// moving the current cell there.
bool CRowEditor::eventFilter(QObject* watched, QEvent* event)
{
    // The edit boxes over the cells (and the tone lists, which take typing): Ctrl+Z there undoes the
    // box's own typing while it has some; a box just opened has none, and the key undoes the
    // document's last change instead.
    if (event->type() == QEvent::ChildPolished) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (qobject_cast<QLineEdit*>(child) || qobject_cast<QComboBox*>(child))
            child->installEventFilter(this);
    } else if (event->type() == QEvent::ShortcutOverride) {
        auto* edit = qobject_cast<QLineEdit*>(watched);
        if (auto* list = qobject_cast<QComboBox*>(watched))
            edit = list->lineEdit();
        if (edit) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const QKeyCombination combination = key->keyCombination();
            const bool undo = combination == (Qt::CTRL | Qt::Key_Z);
            const bool redo
                = combination == (Qt::CTRL | Qt::Key_Y) || combination == (Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
            if ((undo && !edit->isUndoAvailable()) || (redo && !edit->isRedoAvailable()))
                return true; // left to the Edit menu's shortcut
        }
    }
    if (event->type() == QEvent::MouseButtonPress && HasSelection()) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const int row = m_pView->Grid()->rowAt(int(mouse->position().y()));
        if (mouse->button() == Qt::RightButton && row >= m_nFirst && row <= m_nLast)
            return true;
    }
    return QObject::eventFilter(watched, event);
}
