#pragma once
// The download's check of one table row before it is sent: every numeric cell must convert and
// fit its field on the wire, so that nothing goes out truncated.

#include <array>
#include <cstdint>
#include <string>

#include "Exchanges.h"

namespace scale {

enum class RowKind { Plu, Message };

enum class RowProblem {
    None,
    BadCell,       // does not convert, or does not fit its field
    BadShelfLife,  // converts but lies outside 0..366
};

struct RowCheck {
    RowProblem problem = RowProblem::None;
    int column = -1;  // the failing cell's column, when there is a problem
    // Every field that fits, 0 for the others: a row with a problem is never sent.
    PluRecord plu;
    std::int32_t messageNumber = 0;
    bool ok() const { return problem == RowProblem::None; }
};

constexpr std::int32_t kLongestShelfLife = 366;

// Checks the nine cells (code page 1251) of a row. A PLU row checks the PLU number, price, shelf
// life, tare, item code, group and message number in that order and then the shelf life's range;
// a message row checks its number only.
RowCheck ValidateRow(const std::array<std::string, 9>& cells, RowKind kind);

}  // namespace scale
