#pragma once

#include <QColor>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <vector>

class QTableWidget;

namespace brevane {

class GridTable;

// The organizer's grid: row 0 is a fixed header row, column 0 may be a fixed
// column; rows and columns count from 0. It offers exactly what the agenda and
// to-do views rely on: format string, row count, column widths in twips (0
// hides a column that can still be current), the current cell, the text of
// any cell, a whole-row selection extent, per-cell colours and struck-through
// text that read back what was set, and the mouse, key and focus events.
class Grid : public QWidget
{
    Q_OBJECT

public:
    explicit Grid(QWidget *parent = nullptr);
    ~Grid() override;
    Q_DISABLE_COPY_MOVE(Grid)

    // Empties every cell's text and resets cell colours and fonts; the
    // header texts go too. Row and column counts stay.
    void clear();
    // "Time||Task|Category": sets the column count and the header texts.
    void setFormatString(const QString &format);

    [[nodiscard]] int rows() const;
    // Setting 1 leaves only the header row; n + 1 gives n empty data rows.
    void setRows(int rows);
    // Removes one data row (1 .. rows() - 1); the rows below move up one.
    void removeRow(int row);
    // Rows written on demand, for long lists: once set, `fill` writes a data
    // row's cells when the row is first painted or read (textMatrix and the
    // cell look-ups), not when the row count is set. clear() and setRows()
    // leave every row to be filled again.
    void setRowFiller(std::function<void(int row)> fill);
    // Writes the row through the filler now (after its record changed).
    void refillRow(int row);
    [[nodiscard]] int cols() const;
    [[nodiscard]] int fixedRows() const { return 1; }
    [[nodiscard]] int fixedCols() const { return m_fixedCols; }
    // 0 or 1. A fixed column is drawn like the header and cannot be selected.
    void setFixedCols(int count);

    [[nodiscard]] double colWidth(int col) const;
    void setColWidth(int col, double twips);

    // The current cell. Row 0 is allowed (the header row).
    [[nodiscard]] int row() const { return m_row; }
    void setRow(int row);
    [[nodiscard]] int col() const { return m_col; }
    void setCol(int col);
    [[nodiscard]] QString text() const { return textMatrix(m_row, m_col); }
    void setText(const QString &text) { setTextMatrix(m_row, m_col, text); }
    [[nodiscard]] QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);

    // Selection extent: from the current cell to (rowSel, colSel).
    [[nodiscard]] int rowSel() const { return m_rowSel; }
    void setRowSel(int row);
    [[nodiscard]] int colSel() const { return m_colSel; }
    void setColSel(int col);
    // Current row = row, current column = firstCol, far column = last column.
    void selectRow(int row, int firstCol);

    // Formatting of the current cell.
    [[nodiscard]] QColor cellBackColor() const;
    void setCellBackColor(const QColor &color);
    [[nodiscard]] QColor cellForeColor() const;
    void setCellForeColor(const QColor &color);
    [[nodiscard]] bool cellFontStrikeThrough() const;
    void setCellFontStrikeThrough(bool on);
    // The same formatting addressed by cell, for views that format many cells.
    [[nodiscard]] QColor cellBackColorAt(int row, int col) const;
    void setCellBackColorAt(int row, int col, const QColor &color);
    [[nodiscard]] QColor cellForeColorAt(int row, int col) const;
    void setCellForeColorAt(int row, int col, const QColor &color);
    [[nodiscard]] bool cellStrikeThroughAt(int row, int col) const;
    void setCellStrikeThroughAt(int row, int col, bool on);
    // What a cell's colour or font shows, told to screen readers; empty for
    // nothing.
    [[nodiscard]] QString cellDescriptionAt(int row, int col) const;
    void setCellDescriptionAt(int row, int col, const QString &description);

    [[nodiscard]] QColor backColorSel() const { return m_backColorSel; }
    void setBackColorSel(const QColor &color);

    // The row under the pointer at the last mouse event (0 over the header,
    // -1 below the last row).
    [[nodiscard]] int mouseRow() const { return m_mouseRow; }
    // The grid's width in twips (the views size their columns from it).
    [[nodiscard]] double widthTwips() const;

    // The table widget that draws the grid; tests send their mouse and key
    // events to it and to its header.
    [[nodiscard]] QTableWidget *table() const;

    // Grid cell -> pixel rectangle in the table's viewport (header row: in the
    // header's viewport). Tests click at its centre.
    [[nodiscard]] QRect cellRect(int row, int col) const;

Q_SIGNALS:
    void clicked();
    void doubleClicked();
    // Qt key code of a key press (Qt::Key_Delete for the Delete key).
    void keyDown(int key);
    // Character of a typed key ('\r' for Enter).
    void keyPressed(QChar ch);
    void mouseDown(Qt::MouseButton button, const QPoint &globalPos);
    void mouseUp(Qt::MouseButton button, const QPoint &globalPos);
    void lostFocus();
    // The arrow, page or home/end keys moved the current row.
    void keyboardMoved();
    // The Menu key or Shift+F10: the pop-up menu belongs at globalPos, over
    // the current row.
    void menuKeyPressed(const QPoint &globalPos);

private:
    friend class GridTable;
    void syncCurrentFromTable(int tableRow, int tableCol);
    void applySelection();
    // Fills the row through the filler unless it is filled already; reading a
    // cell fills its row, so the readers call it too.
    void ensureRow(int row) const;
    // Writes one role of a cell; an invalid value clears it.
    void setCellRole(int row, int col, int role, const QVariant &value);
    void ensureRows(int first, int last) const;

    GridTable *m_table = nullptr;
    int m_fixedCols = 0;
    int m_row = 0;
    int m_col = 0;
    int m_rowSel = 0;
    int m_colSel = 0;
    int m_mouseRow = -1;
    QColor m_backColorSel;
    bool m_syncing = false;
    std::function<void(int)> m_fill;
    // Which rows the filler has written, by grid row (0 is the header).
    mutable std::vector<bool> m_filled;
};

} // namespace brevane
