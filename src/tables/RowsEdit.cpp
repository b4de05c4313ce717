#include "RowsEdit.h"

#include <algorithm>

namespace tables {

RowsEdit DiffRows(const Table& before, const Table& after) {
    const int shorter = std::min(before.RowCount(), after.RowCount());
    int head = 0;
    while (head < shorter && before.RowAt(head) == after.RowAt(head)) ++head;
    int tail = 0;
    while (tail < shorter - head &&
           before.RowAt(before.RowCount() - 1 - tail) == after.RowAt(after.RowCount() - 1 - tail))
        ++tail;
    RowsEdit edit;
    edit.first = head;
    for (int r = head; r < before.RowCount() - tail; ++r) edit.before.push_back(before.RowAt(r));
    for (int r = head; r < after.RowCount() - tail; ++r) edit.after.push_back(after.RowAt(r));
    return edit;
}

void SpliceRows(Table& table, int first, int count, std::vector<Row> rows) {
    const int shared = std::min(count, static_cast<int>(rows.size()));
    for (int i = 0; i < shared; ++i) table.SetRow(first + i, std::move(rows[i]));
    if (count > shared) table.RemoveRows(first + shared, count - shared);
    rows.erase(rows.begin(), rows.begin() + shared);
    if (!rows.empty()) table.InsertRows(first + shared, std::move(rows));
}

}  // namespace tables
