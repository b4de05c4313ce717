#pragma once
// The display readout's numbers as the window shows them: a comma (always ",", whatever the
// locale) placed by the length of the decimal text. A negative value is "-" and the digits of
// its magnitude formatted by the same rule.

#include <cstdint>
#include <string>

namespace scale {

// Thousandths: 5 -> "0,005", 1234 -> "1,234"; six digits or more are shown without a comma.
std::string FormatWeight(std::int32_t value);
// Hundredths: 5 -> "0,05", 1234 -> "12,34"; seven digits or more without a comma.
std::string FormatPrice(std::int32_t value);
// Hundredths like the price, but a comma up to seven digits: 1234567 -> "12345,67".
std::string FormatTotal(std::int32_t value);

}  // namespace scale
