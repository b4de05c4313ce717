#pragma once
// The check every row of a list passes before it goes to a scale or into the table: the
// download's own rules, and optionally one record for each number.

#include <string>
#include <vector>

#include "Table.h"

namespace jobs {

struct ListProblem {
    int row = 0;         // the row's number, as the caller gave it
    int column = 0;      // the table column at fault
    std::string reason;  // Russian, UTF-8: "не число: «12,5»"
};

// Whether two rows may carry the same PLU or message number (the later one then replaces the
// earlier in the scale).
enum class Duplicates { Allowed, Refused };

// Whether a row's problems stop at its first bad cell, as a download does, or name each.
enum class Cells { First, Every };

// In row order, and in a row in the order the download checks its cells. rowNumbers[i] names
// rows[i] in the problems and in the reasons ("PLU 17 уже есть в строке 5").
std::vector<ListProblem> CheckListRows(const std::vector<tables::Row>& rows,
                                       const std::vector<int>& rowNumbers, tables::ListKind kind,
                                       Duplicates duplicates, Cells cells = Cells::First);

}  // namespace jobs
