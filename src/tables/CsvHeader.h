#pragma once
// The header row of a list's CSV file: which column fills which cell of the table, and the kind
// of list the columns make.

#include <array>
#include <string>
#include <vector>

#include "Table.h"

namespace tables {

// How a file's column fills a row: its cell as it is, a whole name for both name lines, or a
// price in roubles for the price in kopecks.
enum class CsvSource { Cell, WholeName, Roubles };

struct CsvColumn {
    int column = -1;  // the table column; -1 for a column not taken
    CsvSource source = CsvSource::Cell;
};

struct CsvHeader {
    std::string refusal;  // why the header makes no list, Russian, UTF-8
    ListKind kind = ListKind::Plu;
    std::vector<CsvColumn> columns;  // one for each cell of the header row
    // The file's title (UTF-8, as written) of the column that fills each table column.
    std::array<std::string, kColumns> titles;
    std::vector<std::string> ignored;  // titles of the columns not taken
};

// How many of the header's cells (code page 1251) are titles either kind of list knows.
int KnownTitleCount(const std::vector<std::string>& cells);

CsvHeader ReadCsvHeader(const std::vector<std::string>& cells);

}  // namespace tables
