#include "GridModel.h"

#include <QBrush>
#include <algorithm>
#include <iterator>

#include "CodePage1251.h"

namespace {
const QColor kDiffering(255, 205, 205);
const QColor kMissing(255, 235, 170);
}  // namespace

void GridModel::SetMarks(Marks marks) {
    if (marks_.empty() && marks.empty()) return;
    marks_ = std::move(marks);
    MarksChanged();
}

void GridModel::DropMarks() {
    if (marks_.empty()) return;
    marks_.clear();
    MarksChanged();
}

void GridModel::MarksChanged() {
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole, Qt::ToolTipRole});
}

void GridModel::Replace(const std::function<void(tables::Table&)>& change) {
    marks_.clear();
    beginResetModel();
    change(table_);
    endResetModel();
}

void GridModel::SetCell(int col, int row, std::string text) {
    DropMarks();
    table_.SetCell(col, row, std::move(text));
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    const QModelIndex at = index(row - 1, col);
    emit dataChanged(at, at);
}

void GridModel::AppendRow() {
    DropMarks();
    const int rows = table_.RowCount();
    beginInsertRows({}, rows - 1, rows - 1);
    table_.SetRowCount(rows + 1);
    // The view hears of the row at once, and its status line counts records up to the marker.
    table_.SetRow(rows, table_.RowAt(rows - 1));
    table_.ClearRow(rows - 1);
    endInsertRows();
}

void GridModel::MoveColumn(int from, int to) {
    if (from == to) return;
    Replace([from, to](tables::Table& table) {
        for (int r = 0; r < table.RowCount(); ++r) {
            tables::Row row = table.RowAt(r);
            std::string moved = std::move(row[from]);
            if (from < to)
                std::move(row.begin() + from + 1, row.begin() + to + 1, row.begin() + from);
            else
                std::move_backward(row.begin() + to, row.begin() + from, row.begin() + from + 1);
            row[to] = std::move(moved);
            table.SetRow(r, std::move(row));
        }
    });
}

void GridModel::MoveRow(int from, int to) {
    if (from == to) return;
    Replace([from, to](tables::Table& table) {
        tables::Row moved = table.RowAt(from);
        table.RemoveRow(from);
        table.InsertRow(to, std::move(moved));
    });
}

void GridModel::ReplaceRows(int first, int count, std::vector<tables::Row> rows) {
    if (first < 1) {  // the titles are the header: show the whole table anew
        Replace([&](tables::Table& table) {
            tables::SpliceRows(table, first, count, std::move(rows));
        });
        return;
    }
    DropMarks();
    const int added = static_cast<int>(rows.size());
    const int shared = std::min(count, added);
    const int row = first - 1;
    for (int i = 0; i < shared; ++i) table_.SetRow(first + i, std::move(rows[i]));
    if (shared > 0) emit dataChanged(index(row, 0), index(row + shared - 1, columnCount() - 1));
    if (count > shared) {
        beginRemoveRows({}, row + shared, row + count - 1);
        table_.RemoveRows(first + shared, count - shared);
        endRemoveRows();
    } else if (added > shared) {
        beginInsertRows({}, row + shared, row + added - 1);
        table_.InsertRows(first + shared, {std::make_move_iterator(rows.begin() + shared),
                                           std::make_move_iterator(rows.end())});
        endInsertRows();
    }
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(table_.RowCount() - 1, 0);
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : tables::kColumns;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const std::string& cell = table_.Cell(index.column(), index.row() + 1);
    const auto editable = static_cast<std::size_t>(kEditableCellLength);
    switch (role) {
        case Qt::EditRole:
            return tables::DecodeCp1251(cell);
        case Qt::DisplayRole:
            // One character a byte, so the start is cut without decoding megabytes per paint.
            return tables::DecodeCp1251(cell.size() > editable ? cell.substr(0, editable) : cell);
        case kEditableRole:
            return cell.size() <= editable;
        case Qt::BackgroundRole:
        case Qt::ToolTipRole: {
            const auto mark = marks_.find({index.row() + 1, index.column()});
            if (mark == marks_.end()) return {};
            if (role == Qt::ToolTipRole) return mark->second.tip;
            return QBrush(mark->second.missing ? kMissing : kDiffering);
        }
        default:
            return {};
    }
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    std::string cell = tables::EncodeCp1251(value.toString());
    if (cell == table_.Cell(index.column(), index.row() + 1)) return true;
    DropMarks();
    const std::string before = table_.Cell(index.column(), index.row() + 1);
    table_.SetCell(index.column(), index.row() + 1, std::move(cell));
    emit dataChanged(index, index);
    if (onTyped) onTyped(index.column(), index.row() + 1, before);
    return true;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= tables::kColumns || table_.RowCount() == 0) return {};
    return tables::DecodeCp1251(table_.Cell(section, 0));
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}
