#include "Table.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace tables {

Table::Table() : rows_(3) {}

void Table::SetRowCount(int count) {
    rows_.resize(static_cast<std::size_t>(std::max(count, 0)));
}

void Table::SetCell(int col, int row, std::string text) {
    rows_[row][col] = OneLine(std::move(text));
}

void Table::InsertRow(int at, Row cells) {
    rows_.insert(rows_.begin() + at, std::move(cells));
}

void Table::RemoveRow(int at) {
    rows_.erase(rows_.begin() + at);
}

void Table::InsertRows(int at, std::vector<Row> rows) {
    rows_.insert(rows_.begin() + at, std::make_move_iterator(rows.begin()),
                 std::make_move_iterator(rows.end()));
}

void Table::RemoveRows(int at, int count) {
    rows_.erase(rows_.begin() + at, rows_.begin() + at + count);
}

void Table::ReplaceRowsFrom(int first, std::vector<Row> rows) {
    rows_.resize(static_cast<std::size_t>(first));
    rows_.reserve(rows_.size() + rows.size());
    rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()),
                 std::make_move_iterator(rows.end()));
}

std::string OneLine(std::string text) {
    if (text.find_first_of("\r\n") == std::string::npos) return text;
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        line += c == '\r' || c == '\n' ? ' ' : c;
    }
    return line;
}

void WriteEndMarker(Table& table, int row) {
    table.ClearRow(row);
    table.SetCell(kNumberColumn, row, kEndMarker);
}

void LoadRows(Table& table, std::vector<Row> rows) {
    table.ReplaceRowsFrom(1, std::move(rows));
}

int DataRowCount(const Table& table) {
    for (int r = 1; r < table.RowCount(); ++r) {
        if (table.Cell(kNumberColumn, r) == kEndMarker) return r - 1;
    }
    return std::max(table.RowCount() - 1, 0);
}

}  // namespace tables
