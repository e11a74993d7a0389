#pragma once

#include <QColor>
#include <QTableWidget>

// The grid control of the channel view and of the alignment dialogs: a matrix of text cells whose
// first FixedRows rows and FixedCols columns are headers. Positions and sizes are in twips (1440 per
// inch). Every change of the current cell, by the program or by the user, raises LeaveCell while
// Row and Col still name the cell being left, then EnterCell once they name the new one.
class CMSFlexGrid : public QTableWidget {
    Q_OBJECT

public:
    static constexpr long kTwipsPerInch = 1440;
    // Width of a column nobody has sized, and so the base of the channel view's widths.
    static constexpr long kDefaultColWidth = 1500;
    // ColAlignment value: text centred horizontally and vertically.
    static constexpr short kAlignCenterCenter = 4;
    enum HighLight { kHighlightNever = 0, kHighlightAlways = 1, kHighlightWithFocus = 2 };

    explicit CMSFlexGrid(QWidget* parent = nullptr);

    long GetRows() const { return rowCount(); }
    void SetRows(long rows);
    long GetCols() const { return columnCount(); }
    void SetCols(long cols);
    long GetFixedRows() const { return m_nFixedRows; }
    void SetFixedRows(long rows);
    long GetFixedCols() const { return m_nFixedCols; }
    void SetFixedCols(long cols);

    // The current cell. Setting it to a fixed or missing cell is ignored.
    long GetRow() const { return m_nRow; }
    void SetRow(long row);
    long GetCol() const { return m_nCol; }
    void SetCol(long col);
    long GetRowSel() const { return m_nRow; }

    QString GetText() const { return GetTextMatrix(m_nRow, m_nCol); }
    void SetText(const QString& text) { SetTextMatrix(m_nRow, m_nCol, text); }
    QString GetTextMatrix(long row, long col) const;
    void SetTextMatrix(long row, long col, const QString& text);

    QColor GetForeColorFixed() const { return m_ForeColorFixed; }
    void SetForeColorFixed(const QColor& color);
    long GetHighLight() const { return m_nHighLight; }
    void SetHighLight(long mode);

    // Marks a cell with a warning colour and the tool tip that says why; an empty tip takes the mark
    // away. Only the look of the cell changes, never its text.
    void SetCellMark(long row, long col, const QString& tip);
    bool IsCellMarked(long row, long col) const;
    static QColor MarkColor();

    // The cell under the mouse at its last move or press; -1 outside the cells.
    long GetMouseRow() const { return m_nMouseRow; }
    long GetMouseCol() const { return m_nMouseCol; }

    // The current cell's rectangle inside the grid's client area (the viewport, where the in-place
    // editors live), grid line excluded.
    long GetCellLeft() const;
    long GetCellTop() const;
    long GetCellWidth() const;
    long GetCellHeight() const;

    short GetColAlignment(long col) const;
    void SetColAlignment(long col, short alignment);
    long GetColWidth(long col) const;
    void SetColWidth(long col, long twips);
    long GetRowHeight(long row) const;
    void SetRowHeight(long row, long twips);
    // Left edge of a column and top edge of a row in the client area.
    long GetRowPos(long row) const;
    long GetColPos(long col) const;

    // The whole grid without scrolling: every column and row plus the frame.
    QSize sizeHint() const override;

signals:
    void EnterCell();
    void LeaveCell();
    // x and y in pixels of the client area.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void OnCurrentCellChanged(int row, int col);
    void MoveTo(long row, long col);
    bool IsFixed(long row, long col) const;
    bool IsMovable(long row, long col) const;
    void FillCells();
    void StyleCell(QTableWidgetItem* item, long row, long col) const;
    void RestyleAll();
    void TrackMouse(const QPoint& pos);
    void UpdateDefaultRowHeight();
    int ToPixelsX(long twips) const;
    int ToPixelsY(long twips) const;
    long ToTwipsX(int pixels) const;
    long ToTwipsY(int pixels) const;

    long m_nFixedRows = 1;
    long m_nFixedCols = 1;
    long m_nRow = 1;
    long m_nCol = 1;
    long m_nMouseRow = -1;
    long m_nMouseCol = -1;
    long m_nHighLight = kHighlightAlways;
    QColor m_ForeColorFixed;
    QList<short> m_ColAlignment;
};
