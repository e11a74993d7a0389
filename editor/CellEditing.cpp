#include "editor/CellEditing.h"

#include "config/Language.h"
#include "config/StringTable.h"
#include "editor/ProgramView.h"
#include "widgets/MSFlexGrid.h"
#include "image/ProgramDoc.h"
#include "widgets/HelpLayer.h"
#include "widgets/MessageBox.h"
#include "radio/ProductCatalog.h"
#include "radio/ShownChannel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollArea>

using namespace ChannelCodec;

namespace {

constexpr int kCellEditingListIds[] = { CProgramView::kDecodeToneId, CProgramView::kEncodeToneId,
    CProgramView::kBandwidthId, CProgramView::kScanId, CProgramView::kBusyLockId, CProgramView::kPowerId };

} // namespace

CCellEditing::CCellEditing(CProgramView& view, CMSFlexGrid* grid, CChannelGrid& cells, CProgramDoc* document)
    : QObject(&view)
    , m_View(view)
    , m_Grid(grid)
    , m_Cells(cells)
    , m_pDocument(document)
{
    // Enter, Tab, Escape and F1 on the grid itself, too.
    m_Grid->installEventFilter(this);
}

void CCellEditing::CreateEditors(const QStringList& toneList)
{
    m_RxEdit = new QLineEdit(m_Grid->viewport());
    m_TxEdit = new QLineEdit(m_Grid->viewport());
    CHelpLayer::SetControlId(m_RxEdit, CProgramView::kRxEditId);
    CHelpLayer::SetControlId(m_TxEdit, CProgramView::kTxEditId);
    for (std::size_t i = 0; i < m_Lists.size(); ++i) {
        auto* list = new QComboBox(m_Grid->viewport());
        const int column = kDecodeTone + int(i);
        list->addItems(column == kDecodeTone || column == kEncodeTone
                ? toneList
                : ListItems(column, CLanguage::IsChinese()));
        if (column == kDecodeTone || column == kEncodeTone) {
            // A tone can be typed as well as chosen, and what is typed is what the grid judges: no
            // completion and no jump to the nearest item, so 100.5 is refused rather than taken as 100.0.
            list->setEditable(true);
            list->setInsertPolicy(QComboBox::NoInsert);
            list->setCompleter(nullptr);
            connect(list->lineEdit(), &QLineEdit::textEdited, this, [this] { m_bListTyped = true; });
        }
        list->setMaxVisibleItems(12);
        list->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }")); // a scrolled drop-down list
        CHelpLayer::SetControlId(list, kCellEditingListIds[i]);
        // Only the user's own choice (mouse, keys or wheel) counts as an edit, not the item the list
        // was opened on.
        connect(list, &QComboBox::activated, this, [this] { m_bListChosen = true; });
        // A value picked from the drop-down is taken as soon as the list closes (see eventFilter).
        list->view()->window()->installEventFilter(this);
        m_Lists[i] = list;
    }
    QList<QWidget*> editors { m_RxEdit, m_TxEdit };
    for (QComboBox* list : m_Lists)
        editors << list;
    for (QWidget* editor : editors) {
        editor->setFont(m_View.font()); // the view's font, not the grid's
        editor->hide();
        editor->installEventFilter(this);
    }
}

QWidget* CCellEditing::EditorForColumn(int col) const
{
    if (col >= kDecodeTone && col <= kPower)
        return m_Lists[std::size_t(col - kDecodeTone)];
    return col == kTxFrequency ? m_TxEdit : m_RxEdit;
}

QString CCellEditing::EditorText(const QWidget* editor) const
{
    if (auto* edit = qobject_cast<const QLineEdit*>(editor))
        return edit->text();
    if (auto* list = qobject_cast<const QComboBox*>(editor))
        return list->currentText();
    return {};
}

bool CCellEditing::IsEdited(const QWidget* editor, int row, int col) const
{
    // A list's text counts once the user chose or typed, and only when it differs from the cell: a tone
    // the list lacks, opened and typed over with the same text, stays as the radio holds it.
    if (qobject_cast<const QComboBox*>(editor))
        return (m_bListChosen || m_bListTyped) && EditorText(editor) != m_Cells.Text(row, col);
    return EditorText(editor) != m_Cells.Text(row, col);
}

void CCellEditing::OnEnterCell()
{
    ShowEditorOverCurrentCell();
}

void CCellEditing::OnGridMouseDown()
{
    ShowEditorOverCurrentCell();
}

void CCellEditing::ShowEditorOverCurrentCell()
{
    const int row = int(m_Grid->GetRow());
    const int col = int(m_Grid->GetCol());
    QWidget* editor = EditorForColumn(col);
    if (!editor || row < 1 || col < 1 || m_View.IsTransferWindowOpen())
        return;
    const QString text = m_Grid->GetTextMatrix(row, col);
    if (auto* list = qobject_cast<QComboBox*>(editor)) {
        m_bListChosen = false;
        m_bListTyped = false;
        // The first item that begins with the cell's text, whatever its case. A text the list lacks
        // (a tone the radio holds but the list does not offer) is shown as it is, with no item chosen.
        const int index = list->findText(text, list->isEditable() ? Qt::MatchFixedString : Qt::MatchStartsWith);
        list->setPlaceholderText(text);
        list->setCurrentIndex(index);
        if (QLineEdit* typed = list->lineEdit()) {
            typed->setText(text);
            typed->selectAll(); // typing replaces the cell's text, as in the frequency cells
        }
    }
    // The grid reports the cell in twips; the editor sits exactly on it. (The -3 pixel nudge other
    // grid controls need for their border does not apply: our cell positions are already inside it.)
    const long dx = m_Grid->logicalDpiX();
    const long dy = m_Grid->logicalDpiY();
    const long twips = CMSFlexGrid::kTwipsPerInch;
    editor->setGeometry(int(m_Grid->GetCellLeft() * dx / twips), int(m_Grid->GetCellTop() * dy / twips),
        int(m_Grid->GetCellWidth() * dx / twips), int(m_Grid->GetCellHeight() * dy / twips));
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(text);
        edit->selectAll();
    }
    editor->show();
    editor->raise();
    editor->setFocus();
    // In a window smaller than the grid, the cell being edited is scrolled into sight.
    for (QWidget* up = m_View.parentWidget(); up; up = up->parentWidget())
        if (auto* scroller = qobject_cast<QScrollArea*>(up)) {
            scroller->ensureWidgetVisible(editor, 0, 0);
            break;
        }
    m_Grid->viewport()->update();
}

void CCellEditing::HideEditor(QWidget* editor)
{
    const bool hadFocus = editor->hasFocus();
    editor->hide();
    if (hadFocus)
        m_Grid->setFocus(); // keep the keyboard on the grid, so arrows and Enter go on working
}

CChannelGrid::Outcome CCellEditing::CommitCell(
    int row, int col, QWidget* editor, CChannelGrid::Trigger trigger)
{
    // An editor left as it was opened keeps the cell as it is: a tone the list lacks shows as item 0
    // in its list, yet stays what it was.
    if (!IsEdited(editor, row, col)) {
        HideEditor(editor);
        return CChannelGrid::Outcome::Accepted;
    }
    const RowTexts before = m_Cells.RowTexts(row);
    const QString typed = EditorText(editor);
    const CChannelGrid::Outcome outcome = m_Cells.Commit(row, col, typed, trigger);
    if (outcome != CChannelGrid::Outcome::Accepted) {
        // The band named is the one whose limits the check used: the item the image's bytes select.
        const CRadioImage& image = m_pDocument->m_Image;
        const QString band = ProductCatalog::BandText(
            m_View.Ini(), image.Byte(ImageMap::kProductType), image.Byte(ImageMap::kFrequencyBand));
        CMessageBox::Show(&m_View, m_Cells.MessageFor(outcome, row, typed, band),
            StringTable::Message(StringTable::kCaution), QMessageBox::Ok, QMessageBox::Warning);
    }
    m_View.RefreshRow(row);
    if (m_Cells.RowTexts(row) != before) {
        // The image follows every edit at once, so that each one is a step of the undo history.
        const CRadioImage old = m_pDocument->m_Image;
        m_Cells.StoreGrid(m_pDocument->m_Image);
        m_pDocument->RecordChange(old, QStringLiteral("Edit"));
        // A channel that just got its transmit frequency shows the flags its bytes hold, not the
        // empty cells it showed without one (which a later store would write as other values).
        if (ChannelCodec::ShowsAsEmpty(old, row) && !ChannelCodec::ShowsAsEmpty(m_pDocument->m_Image, row)) {
            const RowTexts shown = ChannelCodec::DecodeShownChannel(m_pDocument->m_Image, row, m_Cells.IsChinese());
            for (int col = 1; col < CChannelGrid::kCols; ++col)
                m_Cells.SetText(row, col, shown[col - 1]);
            m_View.RefreshRow(row);
        }
    }
    HideEditor(editor);
    return outcome;
}

void CCellEditing::OnLeaveCell()
{
    const int row = int(m_Grid->GetRow());
    const int col = int(m_Grid->GetCol());
    QWidget* editor = EditorForColumn(col);
    if (editor && !editor->isHidden())
        CommitCell(row, col, editor, CChannelGrid::Trigger::LeaveCell);
}

void CCellEditing::OnEnterKey(bool back)
{
    const int row = int(m_Grid->GetRow());
    const int col = int(m_Grid->GetCol());
    QWidget* editor = EditorForColumn(col);
    if (editor && !editor->isHidden()
        && CommitCell(row, col, editor, CChannelGrid::Trigger::Enter) != CChannelGrid::Outcome::Accepted)
        return; // a refused value keeps the cell current
    if (back) {
        // One change of the current cell straight to the previous one.
        const auto [prevRow, prevCol] = CChannelGrid::BackMove(row, col);
        m_Grid->setCurrentCell(prevRow, prevCol);
        return;
    }
    // Each step is one change of the current cell, with its own leave and enter.
    for (const auto& [nextRow, nextCol] : CChannelGrid::EnterMoves(row, col)) {
        if (nextRow != m_Grid->GetRow())
            m_Grid->SetRow(nextRow);
        if (nextCol != m_Grid->GetCol())
            m_Grid->SetCol(nextCol);
    }
}

void CCellEditing::OnEscapeKey()
{
    // The edit is dropped: the cell still holds its text, since only a commit writes it.
    QWidget* editor = EditorForColumn(int(m_Grid->GetCol()));
    if (editor && !editor->isHidden())
        HideEditor(editor);
}

bool CCellEditing::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide)
        for (QComboBox* list : m_Lists)
            if (list && watched == list->view()->window()) {
                // The choice is signalled after the list has closed: look once it has been.
                QMetaObject::invokeMethod(this, [this, list] {
                    const int col = int(m_Grid->GetCol());
                    if (m_bListChosen && !list->isHidden() && EditorForColumn(col) == list)
                        CommitCell(int(m_Grid->GetRow()), col, list, CChannelGrid::Trigger::LeaveCell);
                }, Qt::QueuedConnection);
            }
    // A key the focused control ignores comes by again on its way up to the grid: handle it once.
    if (event->type() == QEvent::KeyPress && watched == QApplication::focusWidget()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Ctrl+Tab stays the window switch of the document area.
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (key->key() == Qt::Key_F1) {
            CHelpLayer::ShowTopic(&m_View, CHelpLayer::ControlId(QApplication::focusWidget()));
        } else if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
            || (key->key() == Qt::Key_Tab && plain)) {
            OnEnterKey(false); // Tab moves on as Enter does
            return true;
        } else if (key->key() == Qt::Key_Backtab && plain) {
            OnEnterKey(true);
            return true;
        } else if (key->key() == Qt::Key_Escape && watched != m_Grid) {
            OnEscapeKey();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// The view's side: the grid's events and the view's own commands reach the editing through these, and
// a grid that changes size moves the open editor with its cell.

QWidget* CProgramView::EditorForColumn(int col) const
{
    return m_pCellEditing ? m_pCellEditing->EditorForColumn(col) : nullptr;
}

void CProgramView::OnLeaveCell()
{
    if (m_pCellEditing)
        m_pCellEditing->OnLeaveCell();
}

void CProgramView::OnEnterCell()
{
    if (m_pCellEditing)
        m_pCellEditing->OnEnterCell();
}

void CProgramView::OnGridMouseDown()
{
    if (m_pCellEditing)
        m_pCellEditing->OnGridMouseDown();
}

bool CProgramView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_Grid && event->type() == QEvent::Resize)
        FitGridToSize();
    return QWidget::eventFilter(watched, event);
}
