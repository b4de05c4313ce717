#include "ListCheck.h"

#include <cstdint>
#include <optional>
#include <unordered_map>

#include "CodePage1251.h"
#include "Codec.h"
#include "Job.h"
#include "RowValidation.h"

namespace jobs {
namespace {

// Leading spaces, an optional sign, then digits only: a number, though maybe too large.
bool LooksDecimal(const std::string& cell) {
    std::size_t i = cell.find_first_not_of(' ');
    if (i == std::string::npos) return false;
    if (cell[i] == '-' || cell[i] == '+') ++i;
    return i < cell.size() && cell.find_first_not_of("0123456789", i) == std::string::npos;
}

std::string ReasonOf(const scale::RowCheck& check, const std::string& cell) {
    if (check.problem == scale::RowProblem::BadShelfLife) return "срок годности вне 0..366";
    std::int32_t ignored = 0;
    if (scale::CellToInt(cell, ignored) || LooksDecimal(cell))
        return "число не помещается в поле: " + tables::Cp1251ToUtf8(cell);
    return "не число: «" + tables::Cp1251ToUtf8(cell) + "»";
}

// The number a row is known by, when its number cell passed the check.
std::optional<std::int32_t> NumberOf(const scale::RowCheck& check, tables::ListKind kind) {
    if (check.column == tables::kNumberColumn) return std::nullopt;
    return kind == tables::ListKind::Plu ? check.plu.plu : check.messageNumber;
}

std::string DuplicateReason(std::int32_t number, int firstRow, tables::ListKind kind) {
    const std::string what = kind == tables::ListKind::Plu ? "PLU " : "сообщение ";
    return what + std::to_string(number) + " уже есть в строке " + std::to_string(firstRow);
}

}  // namespace

std::vector<ListProblem> CheckListRows(const std::vector<tables::Row>& rows,
                                       const std::vector<int>& rowNumbers, tables::ListKind kind,
                                       Duplicates duplicates, Cells cells) {
    const scale::RowKind rowKind = RowKindOf(kind);
    std::unordered_map<std::int32_t, int> firstRowOf;
    std::vector<ListProblem> problems;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const scale::RowCheck check = scale::ValidateRow(rows[i], rowKind);
        const int row = rowNumbers[i];
        const std::optional<std::int32_t> number = NumberOf(check, kind);
        if (!check.ok()) {
            // The check stops at a bad cell: taking it for good shows the next.
            tables::Row rest = rows[i];
            for (scale::RowCheck next = check; !next.ok();
                 next = scale::ValidateRow(rest, rowKind)) {
                const auto column = static_cast<std::size_t>(next.column);
                problems.push_back({row, next.column, ReasonOf(next, rest[column])});
                if (cells == Cells::First) break;
                rest[column] = "0";
            }
        }
        if (duplicates == Duplicates::Allowed || !number) continue;
        const auto [first, isNew] = firstRowOf.emplace(*number, row);
        if (!isNew && check.ok())
            problems.push_back(
                {row, tables::kNumberColumn, DuplicateReason(*number, first->second, kind)});
    }
    return problems;
}

}  // namespace jobs
