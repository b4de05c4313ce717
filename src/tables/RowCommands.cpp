// Add, Copy, Ins and Del. Copy, Ins and Del shift the rows below the current one; a vector
// insert or erase gives the same rows as copying them one at a time, without the quadratic cost.
#include "Table.h"

namespace tables {
namespace {

bool IsCurrentRow(const Table& table, int cur) {
    return cur >= 1 && cur < table.RowCount();
}

// What Del leaves when there is no data row to spare.
void ResetToOneRow(Table& table) {
    if (table.RowCount() < 3) table.SetRowCount(3);
    table.ClearRow(1);
    table.SetCell(kNumberColumn, 1, "1");
    WriteEndMarker(table, 2);
}

}  // namespace

void AddRow(Table& table) {
    const int r = table.RowCount();
    if (r < 2) return;
    table.SetRowCount(r + 1);
    table.ClearRow(r - 1);
    WriteEndMarker(table, r);
}

void CopyRow(Table& table, int cur) {
    if (!IsCurrentRow(table, cur)) return;
    table.InsertRow(cur + 1, table.RowAt(cur));
}

void InsRow(Table& table, int cur) {
    if (!IsCurrentRow(table, cur)) return;
    table.InsertRow(cur + 1, Row{});
}

void DelRow(Table& table, int cur) {
    if (!IsCurrentRow(table, cur)) return;
    if (table.RowCount() < 4) {
        ResetToOneRow(table);
        return;
    }
    table.RemoveRow(cur);
    WriteEndMarker(table, table.RowCount() - 1);
}

}  // namespace tables
