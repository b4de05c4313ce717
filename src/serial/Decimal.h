#pragma once
// The program's one reading of a decimal integer typed by the operator: the byte panel, the
// XON/XOFF fields and the decimal form of a table cell.

#include <cstdint>
#include <optional>
#include <string>

namespace serial {

// Decimal text as a 32-bit integer: leading spaces, an optional sign, digits, nothing after.
std::optional<std::int32_t> DecimalValue(const std::string& text);

}  // namespace serial
