#include "Codec.h"

#include <optional>

#include "Decimal.h"

namespace scale {

std::uint8_t ToScaleChar(std::uint8_t c) {
    if (c >= 0xC0 && c <= 0xEF) return static_cast<std::uint8_t>(c - 0x40);
    if (c >= 0xF0) return static_cast<std::uint8_t>(c - 0x10);
    if (c == 0xA8) return 0xF0;
    if (c == 0xB8) return 0xF1;
    return c;
}

std::uint8_t FromScaleChar(std::uint8_t b) {
    if (b >= 0x80 && b <= 0xAF) return static_cast<std::uint8_t>(b + 0x40);
    if (b >= 0xE0 && b <= 0xEF) return static_cast<std::uint8_t>(b + 0x10);
    if (b == 0x00) return 0x20;
    if (b == 0xF0) return 0xA8;
    if (b == 0xF1) return 0xB8;
    return b;
}

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseHex(const std::string& digits, std::int32_t& value) {
    if (digits.empty()) return false;
    std::uint32_t bits = 0;
    int significant = 0;
    for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0) return false;
        if (significant > 0 || d != 0) ++significant;
        if (significant > 8) return false;
        bits = bits << 4 | static_cast<std::uint32_t>(d);
    }
    value = static_cast<std::int32_t>(bits);
    return true;
}

}  // namespace

bool CellToInt(const std::string& text, std::int32_t& value) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) return false;
    if (text[start] == '$') return ParseHex(text.substr(start + 1), value);
    const std::optional<std::int32_t> decimal = serial::DecimalValue(text);
    if (decimal) value = *decimal;
    return decimal.has_value();
}

std::int32_t MessageNumberOf(const std::string& cell) {
    std::int32_t number = kUnreadableMessageNumber;
    return CellToInt(cell, number) ? number : kUnreadableMessageNumber;
}

std::string PrepareNameLine(const std::string& cell) {
    std::string text = cell;
    while (text.size() > 1 && text.back() == ' ') text.pop_back();
    const std::size_t length = text.size();
    constexpr std::size_t kWidth = kNameLineLength;
    if (length < kWidth - 1) {
        const std::size_t before = (kWidth - length) / 2;
        return std::string(before, ' ') + text + std::string(kWidth - before - length, ' ');
    }
    // 27 is the scale's limit of centring: such a line is closed by 0x00 instead.
    if (length == kWidth - 1) return text + '\0';
    return text.substr(0, kWidth);
}

std::string PrepareMessageLine(const std::string& cell) {
    std::string line = cell.substr(0, kMessageLineLength);
    line.resize(kMessageLineLength, ' ');
    return line;
}

std::string DecodeNameLine(const std::string& scaleBytes) {
    std::string text;
    text.reserve(scaleBytes.size());
    for (char b : scaleBytes)
        text += static_cast<char>(FromScaleChar(static_cast<std::uint8_t>(b)));
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace scale
