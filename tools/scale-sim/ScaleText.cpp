#include "ScaleText.h"

#include <algorithm>

namespace sim {

std::uint8_t ToScale(std::uint8_t c) {
    if (c >= 0xC0 && c <= 0xEF) return static_cast<std::uint8_t>(c - 0x40);
    if (c >= 0xF0) return static_cast<std::uint8_t>(c - 0x10);
    if (c == 0xA8) return 0xF0;
    if (c == 0xB8) return 0xF1;
    return c;
}

std::uint8_t FromScale(std::uint8_t b) {
    if (b >= 0x80 && b <= 0xAF) return static_cast<std::uint8_t>(b + 0x40);
    if (b >= 0xE0 && b <= 0xEF) return static_cast<std::uint8_t>(b + 0x10);
    if (b == 0x00) return 0x20;
    if (b == 0xF0) return 0xA8;
    if (b == 0xF1) return 0xB8;
    return b;
}

namespace {

std::string Decoded(const std::uint8_t* bytes, std::size_t n) {
    std::string text(n, ' ');
    for (std::size_t i = 0; i < n; ++i) text[i] = static_cast<char>(FromScale(bytes[i]));
    return text;
}

template <typename Line>
void Encode(const std::string& text, Line& line) {
    for (std::size_t i = 0; i < line.size(); ++i)
        line[i] = ToScale(static_cast<std::uint8_t>(text[i]));
}

}  // namespace

NameLine NameLineFromText(const std::string& cp1251) {
    std::string text = cp1251;
    while (text.size() > 1 && text.back() == ' ') text.pop_back();
    std::string placed;
    if (text.size() < kNameLength - 1) {
        placed = std::string((kNameLength - text.size()) / 2, ' ') + text;
        placed.resize(kNameLength, ' ');
    } else if (text.size() == kNameLength - 1) {
        placed = text + '\0';
    } else {
        placed = text.substr(0, kNameLength);
    }
    NameLine line{};
    Encode(placed, line);
    return line;
}

std::string TextFromNameLine(const NameLine& line) {
    std::string text = Decoded(line.data(), line.size());
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

MessageLine MessageLineFromText(const std::string& cp1251) {
    std::string text = cp1251.substr(0, kMessageLineLength);
    text.resize(kMessageLineLength, ' ');
    MessageLine line{};
    Encode(text, line);
    return line;
}

std::string TextFromMessageLine(const MessageLine& line) {
    std::string text = Decoded(line.data(), line.size());
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

}  // namespace sim
