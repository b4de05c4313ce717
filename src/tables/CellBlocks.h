#pragma once
// Blocks of cells as spreadsheets move them by copy and paste: a tab between cells and a line
// end between rows. Paste and clear never write the titles or the marker row that ends a list.

#include <string>
#include <string_view>
#include <vector>

#include "RowsEdit.h"
#include "Table.h"

namespace tables {

// Rows of cells, code page 1251; rows may differ in length.
using Block = std::vector<std::vector<std::string>>;

// A rectangle of cells, both ends included.
struct CellRange {
    int firstCol = 0;
    int lastCol = 0;
    int firstRow = 0;
    int lastRow = 0;
};

// Rows split at CR LF, LF or CR, cells at tabs. The line end after the last row ends it rather
// than starting an empty one, as a spreadsheet's copy ends with one. A cell a spreadsheet quoted
// because it holds a line break or a tab ("a""b" for a"b) is one cell; a leading quote that
// closes nowhere is just text.
Block ParseBlock(std::string_view text);
// The cells of the range, a tab between cells and LF between rows, ending with LF. A cell that
// holds a tab or starts with a quote is quoted, so it pastes back as one cell.
std::string FormatBlock(const Table& table, const CellRange& range);

// The first row a paste or clear may not write: the marker row when it ends the table, else
// the row count.
int EditableEnd(const Table& table);

struct Paste {
    RowsEdit edit;
    // Rows the block filled, how many of its columns fell past the last column, and how many of
    // its rows past the most records a list file holds.
    int rows = 0;
    int columnsCut = 0;
    int rowsCut = 0;
};
// The block written from (col, row) rightwards and downwards. Rows it needs beyond the editable
// ones are added before the marker row; a paste on the marker row adds all its rows there. It
// never adds rows past kMaxTableRecords: a list saved that long would not open again.
Paste PasteBlock(const Table& table, int col, int row, const Block& block);

// The range's cells emptied, rows outside the editable ones left alone.
RowsEdit ClearCells(const Table& table, const CellRange& range);

}  // namespace tables
