#include "widgets/MSFlexGrid.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace {

// FlexGrid alignments 0..8: left, centre, right, each top, centre, bottom; 9 (general) is left-centre.
Qt::Alignment toQtAlignment(short alignment)
{
    if (alignment < 0 || alignment > 8)
        return Qt::AlignLeft | Qt::AlignVCenter;
    static constexpr Qt::AlignmentFlag horizontal[] = { Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight };
    static constexpr Qt::AlignmentFlag vertical[] = { Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom };
    return horizontal[alignment / 3] | vertical[alignment % 3];
}

constexpr short kAlignGeneral = 9;

} // namespace

CMSFlexGrid::CMSFlexGrid(QWidget* parent)
    : QTableWidget(parent)
    , m_ForeColorFixed(palette().color(QPalette::ButtonText))
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectItems);
    // Like the original control, a lone current cell is marked by the focus frame only, never filled.
    setSelectionMode(NoSelection);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setMouseTracking(true);
    setTabKeyNavigation(false);
    horizontalHeader()->setDefaultSectionSize(ToPixelsX(kDefaultColWidth));
    UpdateDefaultRowHeight();
    connect(this, &QTableWidget::currentCellChanged, this,
        [this](int row, int col, int, int) { OnCurrentCellChanged(row, col); });
    setRowCount(2);
    setColumnCount(2);
    FillCells();
    MoveTo(1, 1);
}

void CMSFlexGrid::OnCurrentCellChanged(int row, int col)
{
    if (row < 0 || col < 0 || (row == m_nRow && col == m_nCol))
        return;
    emit LeaveCell(); // Row and Col still name the cell being left
    m_nRow = row;
    m_nCol = col;
    emit EnterCell();
}

// Moves the current cell without events: used while the grid is being (re)shaped.
void CMSFlexGrid::MoveTo(long row, long col)
{
    const QSignalBlocker blocker(this);
    m_nRow = row;
    m_nCol = col;
    if (row < rowCount() && col < columnCount())
        setCurrentCell(int(row), int(col));
}

bool CMSFlexGrid::IsFixed(long row, long col) const
{
    return row < m_nFixedRows || col < m_nFixedCols;
}

bool CMSFlexGrid::IsMovable(long row, long col) const
{
    return row >= 0 && col >= 0 && row < rowCount() && col < columnCount() && !IsFixed(row, col);
}

void CMSFlexGrid::SetRows(long rows)
{
    setRowCount(int(std::max(rows, 0L)));
    FillCells();
    if (m_nRow >= rows)
        MoveTo(std::max(m_nFixedRows, rows - 1), m_nCol);
}

void CMSFlexGrid::SetCols(long cols)
{
    const int old = columnCount();
    setColumnCount(int(std::max(cols, 0L)));
    m_ColAlignment.resize(columnCount(), kAlignGeneral);
    for (int col = old; col < columnCount(); ++col)
        setColumnWidth(col, ToPixelsX(kDefaultColWidth));
    FillCells();
    if (m_nCol >= cols)
        MoveTo(m_nRow, std::max(m_nFixedCols, cols - 1));
}

void CMSFlexGrid::SetFixedRows(long rows)
{
    m_nFixedRows = std::max(rows, 0L);
    RestyleAll();
    if (m_nRow < m_nFixedRows)
        MoveTo(m_nFixedRows, m_nCol);
}

void CMSFlexGrid::SetFixedCols(long cols)
{
    m_nFixedCols = std::max(cols, 0L);
    RestyleAll();
    if (m_nCol < m_nFixedCols)
        MoveTo(m_nRow, m_nFixedCols);
}

void CMSFlexGrid::SetRow(long row)
{
    if (IsMovable(row, m_nCol))
        setCurrentCell(int(row), int(m_nCol)); // raises LeaveCell and EnterCell on a change
}

void CMSFlexGrid::SetCol(long col)
{
    if (IsMovable(m_nRow, col))
        setCurrentCell(int(m_nRow), int(col));
}

QString CMSFlexGrid::GetTextMatrix(long row, long col) const
{
    const QTableWidgetItem* cell = item(int(row), int(col));
    return cell ? cell->text() : QString();
}

void CMSFlexGrid::SetTextMatrix(long row, long col, const QString& text)
{
    if (QTableWidgetItem* cell = item(int(row), int(col)))
        cell->setText(text);
}

void CMSFlexGrid::SetForeColorFixed(const QColor& color)
{
    m_ForeColorFixed = color;
    RestyleAll();
}

void CMSFlexGrid::SetHighLight(long mode)
{
    m_nHighLight = mode; // kept for callers; a single current cell is never filled either way
}

void CMSFlexGrid::FillCells()
{
    m_ColAlignment.resize(columnCount(), kAlignGeneral);
    for (int row = 0; row < rowCount(); ++row) {
        for (int col = 0; col < columnCount(); ++col) {
            if (!item(row, col)) {
                auto* cell = new QTableWidgetItem;
                StyleCell(cell, row, col);
                setItem(row, col, cell);
            }
        }
    }
}

void CMSFlexGrid::StyleCell(QTableWidgetItem* cell, long row, long col) const
{
    cell->setTextAlignment(toQtAlignment(m_ColAlignment.value(col, kAlignGeneral)));
    if (IsFixed(row, col)) {
        // Header cells can never become current, neither by click nor by arrow keys.
        cell->setFlags(Qt::NoItemFlags);
        cell->setForeground(m_ForeColorFixed);
        cell->setBackground(palette().button());
    } else {
        cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        cell->setData(Qt::ForegroundRole, QVariant());
        // A marked cell carries its reason as the tool tip and keeps its colour through every restyle.
        if (cell->toolTip().isEmpty()) {
            cell->setData(Qt::BackgroundRole, QVariant());
        } else {
            cell->setBackground(MarkColor());
            cell->setForeground(QColor(Qt::black)); // readable on the mark in a dark palette too
        }
    }
}

QColor CMSFlexGrid::MarkColor()
{
    return QColor(255, 200, 140); // light orange: seen at a glance, the text still plain
}

void CMSFlexGrid::SetCellMark(long row, long col, const QString& tip)
{
    QTableWidgetItem* cell = item(int(row), int(col));
    if (!cell || IsFixed(row, col) || cell->toolTip() == tip)
        return;
    cell->setToolTip(tip);
    StyleCell(cell, row, col);
}

bool CMSFlexGrid::IsCellMarked(long row, long col) const
{
    const QTableWidgetItem* cell = item(int(row), int(col));
    return cell && !cell->toolTip().isEmpty();
}

void CMSFlexGrid::RestyleAll()
{
    for (int row = 0; row < rowCount(); ++row)
        for (int col = 0; col < columnCount(); ++col)
            if (QTableWidgetItem* cell = item(row, col))
                StyleCell(cell, row, col);
}

long CMSFlexGrid::GetCellLeft() const
{
    return ToTwipsX(visualRect(model()->index(int(m_nRow), int(m_nCol))).left());
}

long CMSFlexGrid::GetCellTop() const
{
    return ToTwipsY(visualRect(model()->index(int(m_nRow), int(m_nCol))).top());
}

long CMSFlexGrid::GetCellWidth() const
{
    return ToTwipsX(visualRect(model()->index(int(m_nRow), int(m_nCol))).width());
}

long CMSFlexGrid::GetCellHeight() const
{
    return ToTwipsY(visualRect(model()->index(int(m_nRow), int(m_nCol))).height());
}

short CMSFlexGrid::GetColAlignment(long col) const
{
    return m_ColAlignment.value(col, kAlignGeneral);
}

void CMSFlexGrid::SetColAlignment(long col, short alignment)
{
    if (col < 0 || col >= columnCount())
        return;
    m_ColAlignment[col] = alignment;
    for (int row = 0; row < rowCount(); ++row)
        if (QTableWidgetItem* cell = item(row, int(col)))
            cell->setTextAlignment(toQtAlignment(alignment));
}

long CMSFlexGrid::GetColWidth(long col) const
{
    return ToTwipsX(columnWidth(int(col)));
}

void CMSFlexGrid::SetColWidth(long col, long twips)
{
    setColumnWidth(int(col), ToPixelsX(twips));
    updateGeometry();
}

long CMSFlexGrid::GetRowHeight(long row) const
{
    return ToTwipsY(rowHeight(int(row)));
}

void CMSFlexGrid::SetRowHeight(long row, long twips)
{
    setRowHeight(int(row), ToPixelsY(twips));
    updateGeometry();
}

long CMSFlexGrid::GetRowPos(long row) const
{
    return ToTwipsY(rowViewportPosition(int(row)));
}

long CMSFlexGrid::GetColPos(long col) const
{
    return ToTwipsX(columnViewportPosition(int(col)));
}

QSize CMSFlexGrid::sizeHint() const
{
    int width = 0;
    int height = 0;
    for (int col = 0; col < columnCount(); ++col)
        width += columnWidth(col);
    for (int row = 0; row < rowCount(); ++row)
        height += rowHeight(row);
    return QSize(width, height) + QSize(2 * frameWidth(), 2 * frameWidth());
}

void CMSFlexGrid::TrackMouse(const QPoint& pos)
{
    m_nMouseRow = rowAt(pos.y());
    m_nMouseCol = columnAt(pos.x());
}

void CMSFlexGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    TrackMouse(pos);
    const Qt::MouseButton button = event->button();
    const Qt::KeyboardModifiers shift = event->modifiers();
    QTableWidget::mousePressEvent(event); // moves the current cell: LeaveCell, EnterCell
    emit MouseDown(button, shift, pos.x(), pos.y());
}

void CMSFlexGrid::mouseMoveEvent(QMouseEvent* event)
{
    TrackMouse(event->position().toPoint());
    QTableWidget::mouseMoveEvent(event);
}

void CMSFlexGrid::changeEvent(QEvent* event)
{
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateDefaultRowHeight();
}

// Rows follow the grid's font, with room for an in-place editor's frame.
void CMSFlexGrid::UpdateDefaultRowHeight()
{
    const int height = fontMetrics().height() + 10;
    verticalHeader()->setDefaultSectionSize(height);
    for (int row = 0; row < rowCount(); ++row)
        setRowHeight(row, height);
    updateGeometry();
}

int CMSFlexGrid::ToPixelsX(long twips) const
{
    return int(twips * logicalDpiX() / kTwipsPerInch);
}

int CMSFlexGrid::ToPixelsY(long twips) const
{
    return int(twips * logicalDpiY() / kTwipsPerInch);
}

long CMSFlexGrid::ToTwipsX(int pixels) const
{
    return long(pixels) * kTwipsPerInch / logicalDpiX();
}

long CMSFlexGrid::ToTwipsY(int pixels) const
{
    return long(pixels) * kTwipsPerInch / logicalDpiY();
}
