#pragma once
// One change to the table as a band of rows before and after it, so an edit of any size can be
// undone and redone by putting one band in place of the other.

#include <vector>

#include "Table.h"

namespace tables {

struct RowsEdit {
    // The band starts at this row in both tables.
    int first = 0;
    std::vector<Row> before;
    std::vector<Row> after;

    bool ChangesNothing() const { return before == after; }
};

// The narrowest band outside which the two tables hold the same rows.
RowsEdit DiffRows(const Table& before, const Table& after);

// Puts `rows` in place of `count` rows from `first`.
void SpliceRows(Table& table, int first, int count, std::vector<Row> rows);

}  // namespace tables
