// Numbers of spreadsheet cells as text, without the artefacts of binary fractions.
#include <charconv>
#include <cmath>

#include "SheetFile.h"

namespace tables {

std::string ShownNumber(double value) {
    char text[64];
    // Whole numbers below 2^53 are exact, and a barcode must keep every digit.
    const bool whole =
        std::isfinite(value) && std::fabs(value) < 9007199254740992.0 && value == std::trunc(value);
    const auto result =
        whole ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 0)
              : std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    std::string shown(text, result.ptr);
    return shown == "-0" ? "0" : shown;
}

std::string ShownNumber(std::string_view stored) {
    double value = 0;
    const auto result = std::from_chars(stored.data(), stored.data() + stored.size(), value);
    if (result.ec != std::errc() || result.ptr != stored.data() + stored.size() || stored.empty())
        return std::string(stored);
    return ShownNumber(value);
}

}  // namespace tables
