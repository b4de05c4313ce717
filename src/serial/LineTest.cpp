#include "LineTest.h"

namespace serial {

std::optional<std::int32_t> EventMaskOf(const std::string& text) {
    for (const EventName& event : kEventNames)
        if (text == event.name) return static_cast<std::int32_t>(event.bit);
    return std::nullopt;
}

std::string EventMaskText(std::int32_t mask) {
    std::string text;
    for (const EventName& event : kEventNames)
        if (static_cast<std::uint32_t>(mask) & event.bit)
            text += std::string("[") + event.name + "]";
    return text;
}

std::optional<std::int32_t> DecimalValue(const std::string& text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos) return std::nullopt;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+') ++i;
    if (i == text.size()) return std::nullopt;
    // Accumulated as a magnitude so that the most negative value fits.
    const std::uint32_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
    std::uint32_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<std::uint32_t>(c - '0');
        if (magnitude > (limit - digit) / 10) return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    const auto value = static_cast<std::int64_t>(magnitude);
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::string NotAnIntegerMessage(const std::string& text) {
    return "'" + text + "' is not a valid integer value";
}

}  // namespace serial
