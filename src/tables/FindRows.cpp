#include "FindRows.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tables {
namespace {

// Lower case of code page 1251 letters: Latin, Russian А..Я, and Ё.
std::array<char, 256> LowerCaseTable() {
    std::array<char, 256> lower{};
    for (int b = 0; b < 256; ++b) {
        int to = b;
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDF)) to = b + 0x20;
        if (b == 0xA8) to = 0xB8;
        lower[static_cast<std::size_t>(b)] = static_cast<char>(to);
    }
    return lower;
}

const std::array<char, 256> kLower = LowerCaseTable();

char Lower(char c) {
    return kLower[static_cast<std::uint8_t>(c)];
}

bool ContainsIgnoringCase(std::string_view text, std::string_view lowerNeedle) {
    return std::search(text.begin(), text.end(), lowerNeedle.begin(), lowerNeedle.end(),
                       [](char a, char b) { return Lower(a) == b; }) != text.end();
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Column of the match in row r, or -1.
int MatchIn(const Table& table, int r, int lastNameColumn, std::string_view needle,
            std::string_view lowerNeedle) {
    if (Trimmed(table.Cell(kNumberColumn, r)) == needle) return kNumberColumn;
    for (int c = 1; c <= lastNameColumn; ++c)
        if (ContainsIgnoringCase(table.Cell(c, r), lowerNeedle)) return c;
    return -1;
}

}  // namespace

std::optional<CellAt> FindRow(const Table& table, ListKind kind, std::string_view needle, int from,
                              bool forward) {
    needle = Trimmed(needle);
    const int rows = table.RowCount() - 1;  // the records and the marker row, without titles
    if (needle.empty() || rows < 1) return std::nullopt;
    std::string lowerNeedle(needle);
    for (char& c : lowerNeedle) c = Lower(c);
    // A PLU's name is its two lines; every line of a message is its text.
    const int lastNameColumn = kind == ListKind::Plu ? Column::Name2 : kColumns - 1;
    const int start = std::clamp(from, 1, rows) - 1;
    for (int step = 1; step <= rows; ++step) {
        const int offset = forward ? step : rows - step;
        const int r = (start + offset) % rows + 1;
        const int col = MatchIn(table, r, lastNameColumn, needle, lowerNeedle);
        if (col >= 0) return CellAt{col, r};
    }
    return std::nullopt;
}

}  // namespace tables
