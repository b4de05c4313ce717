#pragma once
// Finding a record: its number exactly, or a part of its name in any letter case.

#include <optional>
#include <string_view>

#include "Table.h"

namespace tables {

struct CellAt {
    int col = 0;
    int row = 0;
};

// The first row after `from` (before it when not forward) that matches, going round past the
// end; `from` itself is tried last. The needle is code page 1251; an empty one finds nothing.
std::optional<CellAt> FindRow(const Table& table, ListKind kind, std::string_view needle, int from,
                              bool forward);

}  // namespace tables
