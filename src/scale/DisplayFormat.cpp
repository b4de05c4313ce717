#include "DisplayFormat.h"

#include <cstdlib>

namespace scale {

namespace {

// digits gets a comma before its last `decimals` digits, padded with zeros to "0,0..", unless
// it is longer than `longestWithComma`.
std::string PlaceComma(const std::string& digits, std::size_t decimals,
                       std::size_t longestWithComma) {
    const std::size_t length = digits.size();
    if (length > longestWithComma) return digits;
    if (length <= decimals) return "0," + std::string(decimals - length, '0') + digits;
    return digits.substr(0, length - decimals) + "," + digits.substr(length - decimals);
}

std::string Format(std::int32_t value, std::size_t decimals, std::size_t longestWithComma) {
    // 64 bits, so that the magnitude of the most negative value fits.
    const std::int64_t wide = value;
    const std::string digits = std::to_string(std::llabs(wide));
    const std::string shown = PlaceComma(digits, decimals, longestWithComma);
    return wide < 0 ? "-" + shown : shown;
}

}  // namespace

std::string FormatWeight(std::int32_t value) {
    return Format(value, 3, 5);
}
std::string FormatPrice(std::int32_t value) {
    return Format(value, 2, 6);
}
std::string FormatTotal(std::int32_t value) {
    return Format(value, 2, 7);
}

}  // namespace scale
