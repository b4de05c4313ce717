#pragma once
// The table as Qt shows it: model row r is table row r + 1, and table row 0, the titles, is the
// horizontal header. Cells are converted from code page 1251 only here.

#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <map>
#include <utility>

#include "RowsEdit.h"
#include "Table.h"

class GridModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit GridModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // The longest cell the grid edits and shows whole: a line editor's own limit. A longer cell
    // (from a file made elsewhere) is kept as it is and shows its start.
    static constexpr int kEditableCellLength = 32767;
    // data() for this role: whether the cell is short enough to edit.
    static constexpr int kEditableRole = Qt::UserRole;

    const tables::Table& table() const { return table_; }

    // What the last compare found in a cell: the scale's value, or a row the scale lacks.
    struct Mark {
        QString tip;
        bool missing = false;
    };
    // By (table row, column). Marks describe the table as it was compared, so every change to
    // the table drops them.
    using Marks = std::map<std::pair<int, int>, Mark>;
    void SetMarks(Marks marks);

    // Program writes: none of them marks the table as changed.
    void Replace(const std::function<void(tables::Table&)>& change);
    void SetCell(int col, int row, std::string text);
    // One more row before the last, the marker row that ends the list (upload), so the view
    // keeps its scroll position.
    void AppendRow();
    // Moves a column's title and cells, as dragging a column does.
    void MoveColumn(int from, int to);
    // Moves a table row (1 or more) with its cells, as dragging a row does.
    void MoveRow(int from, int to);
    // Puts `rows` in place of `count` table rows from `first`, telling the view only what moved,
    // so its scroll position and current cell stay.
    void ReplaceRows(int first, int count, std::vector<tables::Row> rows);
    // Has the view show the cell again, its open editor included.
    void Refresh(const QModelIndex& at) { emit dataChanged(at, at); }

    // The operator's typing: (column, table row, the cell's text before) on each change.
    std::function<void(int, int, const std::string&)> onTyped;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    void DropMarks();
    void MarksChanged();
    tables::Table table_;
    Marks marks_;
};
