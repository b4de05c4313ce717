#include "RowValidation.h"

#include <limits>

#include "Codec.h"

namespace scale {

namespace {

constexpr std::int32_t kWordMax = 65535;
constexpr std::int32_t kLongMax = std::numeric_limits<std::int32_t>::max();

constexpr std::int32_t kLongMin = std::numeric_limits<std::int32_t>::min();

struct Field {
    int column;
    std::int32_t min;
    std::int32_t max;
    std::int32_t PluRecord::*target;
};

// The order in which the cells are checked. The shelf life only has to convert here: its range
// has a message of its own and is checked after every other cell.
const Field kPluFields[] = {
    {PluCell::Plu, 0, kWordMax, &PluRecord::plu},
    {PluCell::Price, 0, kLongMax, &PluRecord::price},
    {PluCell::ShelfLife, kLongMin, kLongMax, &PluRecord::shelfLife},
    {PluCell::Tare, 0, kWordMax, &PluRecord::tare},
    {PluCell::ItemCode, 0, kLongMax, &PluRecord::itemCode},
    {PluCell::Group, 0, kWordMax, &PluRecord::group},
    {PluCell::Message, 0, kWordMax, &PluRecord::message},
};

bool ReadField(const std::string& cell, std::int32_t min, std::int32_t max, std::int32_t& value) {
    std::int32_t read = 0;
    if (!CellToInt(cell, read) || read < min || read > max) return false;
    value = read;
    return true;
}

// Keeps the first problem met.
void Note(RowCheck& check, RowProblem problem, int column) {
    if (!check.ok()) return;
    check.problem = problem;
    check.column = column;
}

RowCheck ValidatePlu(const std::array<std::string, 9>& cells) {
    RowCheck check;
    for (const Field& field : kPluFields) {
        if (!ReadField(cells[field.column], field.min, field.max, check.plu.*field.target))
            Note(check, RowProblem::BadCell, field.column);
    }
    if (check.plu.shelfLife < 0 || check.plu.shelfLife > kLongestShelfLife)
        Note(check, RowProblem::BadShelfLife, PluCell::ShelfLife);
    check.plu.name1 = cells[PluCell::Name1];
    check.plu.name2 = cells[PluCell::Name2];
    return check;
}

}  // namespace

RowCheck ValidateRow(const std::array<std::string, 9>& cells, RowKind kind) {
    if (kind == RowKind::Plu) return ValidatePlu(cells);
    RowCheck check;
    if (!ReadField(cells[MsgCell::Number], 0, kWordMax, check.messageNumber))
        Note(check, RowProblem::BadCell, MsgCell::Number);
    return check;
}

}  // namespace scale
