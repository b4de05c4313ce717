// The cell integer conversion, checked against a plain reading of its rule, and the row check
// that builds on it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "Check.h"
#include "Codec.h"
#include "Exchanges.h"
#include "RowValidation.h"

namespace {

namespace PluCell = scale::PluCell;
namespace MsgCell = scale::MsgCell;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) {
    return IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
}

// Leading spaces, then "$" and at most eight significant hex digits, or a sign and decimal
// digits whose value fits in 32 bits.
std::optional<std::int32_t> Expected(const std::string& text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) return std::nullopt;
    std::string body = text.substr(start);
    if (body[0] == '$') {
        const std::string digits = body.substr(1);
        if (digits.empty()) return std::nullopt;
        for (char c : digits) {
            if (!IsHexDigit(c)) return std::nullopt;
        }
        const std::size_t first = digits.find_first_not_of('0');
        const std::string significant = first == std::string::npos ? "" : digits.substr(first);
        if (significant.size() > 8) return std::nullopt;
        std::uint32_t bits = 0;
        for (char c : significant) bits = bits * 16 + static_cast<std::uint32_t>(HexValue(c));
        return static_cast<std::int32_t>(bits);
    }
    const bool negative = body[0] == '-';
    if (body[0] == '-' || body[0] == '+') body.erase(0, 1);
    if (body.empty()) return std::nullopt;
    for (char c : body) {
        if (!IsDigit(c)) return std::nullopt;
    }
    const std::size_t first = body.find_first_not_of('0');
    const std::string significant = first == std::string::npos ? "0" : body.substr(first);
    if (significant.size() > 10) return std::nullopt;
    std::int64_t magnitude = 0;
    for (char c : significant) magnitude = magnitude * 10 + (c - '0');
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

void CheckConversion(const std::string& text) {
    constexpr std::int32_t kUntouched = 0x5EED;
    std::int32_t value = kUntouched;
    const bool converted = scale::CellToInt(text, value);
    const std::optional<std::int32_t> expected = Expected(text);
    FUZZ_CHECK(converted == expected.has_value());
    FUZZ_CHECK(value == (converted ? *expected : kUntouched));
    FUZZ_CHECK(scale::MessageNumberOf(text) ==
               (converted ? *expected : scale::kUnreadableMessageNumber));
}

bool InRange(std::int32_t v, std::int32_t low, std::int32_t high) {
    return v >= low && v <= high;
}

// A row that passes holds only values its fields can carry; a row that fails names a cell
// that really is bad.
void CheckRow(const std::array<std::string, 9>& cells) {
    const scale::RowCheck plu = scale::ValidateRow(cells, scale::RowKind::Plu);
    if (plu.ok()) {
        FUZZ_CHECK(InRange(plu.plu.plu, 0, 65535));
        FUZZ_CHECK(plu.plu.price >= 0 && plu.plu.itemCode >= 0);
        FUZZ_CHECK(InRange(plu.plu.shelfLife, 0, scale::kLongestShelfLife));
        FUZZ_CHECK(InRange(plu.plu.tare, 0, 65535) && InRange(plu.plu.group, 0, 65535));
        FUZZ_CHECK(InRange(plu.plu.message, 0, 65535));
        FUZZ_CHECK(plu.plu.name1 == cells[PluCell::Name1] &&
                   plu.plu.name2 == cells[PluCell::Name2]);
    } else if (plu.problem == scale::RowProblem::BadShelfLife) {
        FUZZ_CHECK(plu.column == PluCell::ShelfLife);
    } else {
        // Words 0..65535, the price and the item code 0..2^31-1, the shelf life any number.
        FUZZ_CHECK(plu.column >= 0 && plu.column < PluCell::kCount);
        FUZZ_CHECK(plu.column != PluCell::Name1 && plu.column != PluCell::Name2);
        const bool isLong = plu.column == PluCell::Price || plu.column == PluCell::ItemCode;
        const std::int32_t high = isLong ? INT32_MAX : 65535;
        const std::optional<std::int32_t> v = Expected(cells[plu.column]);
        FUZZ_CHECK(!v || (plu.column != PluCell::ShelfLife && !InRange(*v, 0, high)));
    }
    const scale::RowCheck msg = scale::ValidateRow(cells, scale::RowKind::Message);
    const std::optional<std::int32_t> number = Expected(cells[MsgCell::Number]);
    FUZZ_CHECK(msg.ok() == (number && InRange(*number, 0, 65535)));
    if (msg.ok()) FUZZ_CHECK(msg.messageNumber == *number);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckConversion(text);
    // The same bytes as a row: cells end at each line break.
    std::array<std::string, 9> cells;
    std::size_t column = 0;
    for (char c : text) {
        if (c == '\n') {
            if (++column == cells.size()) break;
        } else {
            cells[column] += c;
        }
    }
    CheckRow(cells);
    return 0;
}
