#pragma once
// The table grid: the cell editor is always open on the current cell, every change of its text
// and every move of it to another cell is reported, and a dragged column takes its cells along.
// Columns start wide enough for their titles and names; the operator's widths then stay.
// Blocks of cells are copied, pasted and cleared as in a spreadsheet, and every change the
// operator makes can be undone.

#include <QTableView>
#include <functional>
#include <memory>
#include <optional>

#include "CellBlocks.h"
#include "GridHistory.h"

class GridModel;
class QLineEdit;

class GridView : public QTableView {
    Q_OBJECT

  public:
    explicit GridView(QWidget* parent = nullptr);
    void setGridModel(GridModel* model);
    // Widths from the grid's font: every title of both lists shows whole, the two name columns
    // a whole name line of the widest letter, and the first column a record number of five
    // digits. Call once the font is set.
    void SetDefaultColumnWidths();

    // (column, table row, text) each time the editor hands its text to its cell.
    std::function<void(int, int, const QString&)> onEditText;
    // The operator dragged a row or a column to another place.
    std::function<void()> onRearranged;
    // A paste or a clear changed the table; the note says what, for the status line (empty
    // when there is nothing to say).
    std::function<void(const QString&)> onEdited;
    // An undo or redo changed the table.
    std::function<void()> onUndone;
    // True while a transfer reads the table: a paste, clear, undo or redo is refused then, as
    // every command is, since it may add or remove rows under the transfer.
    std::function<bool()> busy;
    // F3 / Shift+F3 (forward or not); Ctrl+F is the window's.
    std::function<void(bool)> onFindNext;

    GridHistory& history() { return *history_; }
    // The selected cells as table rows and columns; the current cell when none is selected.
    std::optional<tables::CellRange> SelectedCells() const;
    // The table cell the editor moves to, its row shown.
    void GoTo(int col, int row);
    // The program's own change to the whole table (new list, Open, a row command), which never
    // counts as the operator's edit. The current cell is put back where it was (clamped to the
    // rows that remain), so a second Del acts where the first one did and the editor stays open.
    void ReplaceKeepingCurrentCell(const std::function<void(tables::Table&)>& change);

    void CopyCells();
    // The clipboard's text as a block from the current cell.
    void PasteCells();
    void ClearCells();

    // The table row of the current cell (1 when there is none).
    int CurrentTableRow() const;
    // Scrolls so that the given table row is the first shown under the titles.
    void ScrollToTableRow(int row);
    void ScrollDownOneRow();

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The open editor's keys pass here first: the grid takes the block commands and undo.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    GridModel* model_ = nullptr;
    std::unique_ptr<GridHistory> history_;
    // The grid's own keys: true when taken. In the editor, copy, paste and Delete stay the
    // editor's own while they concern its one cell.
    bool TakeKey(const QKeyEvent& key, const QLineEdit* editor);
    bool ManyCellsSelected() const;
    // Beeps and says true while busy.
    bool Refused() const;
    void Edited(const QString& note);
    // The width a column needs to show this title, or this text in a cell, without eliding.
    int TitleWidth(const QString& title) const;
    int CellWidth(const QString& text) const;
    void OnColumnDragged(int logical, int oldVisual, int newVisual);
    void OnRowDragged(int logical, int oldVisual, int newVisual);
};
