#pragma once
// The table grid: the cell editor is always open on the current cell, every change of its text
// and every move of it to another cell is reported, and a dragged column takes its cells along.
// Columns start wide enough for their titles and names; the operator's widths then stay.

#include <QTableView>
#include <functional>

class GridModel;

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

    // The table row of the current cell (1 when there is none).
    int CurrentTableRow() const;
    // Scrolls so that the given table row is the first shown under the titles.
    void ScrollToTableRow(int row);
    void ScrollDownOneRow();

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  private:
    GridModel* model_ = nullptr;
    // The width a column needs to show this title, or this text in a cell, without eliding.
    int TitleWidth(const QString& title) const;
    int CellWidth(const QString& text) const;
    void OnColumnDragged(int logical, int oldVisual, int newVisual);
    void OnRowDragged(int logical, int oldVisual, int newVisual);
};
