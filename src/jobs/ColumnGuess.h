#pragma once
// A first choice of columns for a file nobody chose them for yet, for the operator to correct:
// the titles lists know; a column of distinct whole numbers from 1 to 65535 as the PLU; a column
// of decimals as the price in roubles; the longest text as the name.

#include <string>
#include <vector>

#include "ColumnChoice.h"

namespace jobs {

struct ColumnGuess {
    int headerRow = -1;           // index into the rows given; -1 when they hold nothing
    tables::ColumnChoice choice;  // only the columns taken, by title (by number when untitled)
};

// rows: the file's first rows, cells in code page 1251. The header is headerRow when it is one
// of them, else the first row with the most cells filled; the rows under it are the data.
ColumnGuess GuessColumns(const std::vector<std::vector<std::string>>& rows, int headerRow = -1);

}  // namespace jobs
