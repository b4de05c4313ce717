// Name lines, message lines and the code page conversions, fed arbitrary bytes.

#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "Check.h"
#include "CodePage1251.h"
#include "Codec.h"

namespace {

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Bytes the scale's code page gives back as they went out (0x00 comes back as a space).
bool SurvivesScale(std::uint8_t c) {
    return c < 0x80 || c >= 0xC0 || c == 0xA8 || c == 0xB8;
}

// Centred when shorter than 27, closed by 0x00 at 27, cut beyond: always 28 bytes.
void CheckNameLine(const std::string& cell) {
    const std::string line = scale::PrepareNameLine(cell);
    FUZZ_CHECK(line.size() == static_cast<std::size_t>(scale::kNameLineLength));

    std::string text = cell;
    while (text.size() > 1 && text.back() == ' ') text.pop_back();
    const std::size_t width = line.size();
    if (text.size() < width - 1) {
        const std::size_t before = (width - text.size()) / 2;
        FUZZ_CHECK(line.compare(before, text.size(), text) == 0);
        const std::size_t after = before + text.size();
        FUZZ_CHECK(line.find_first_not_of(' ', after) == std::string::npos);
        FUZZ_CHECK(line.substr(0, before) == std::string(before, ' '));
        FUZZ_CHECK(width - after - before <= 1);
    } else if (text.size() == width - 1) {
        FUZZ_CHECK(line == text + '\0');
    } else {
        FUZZ_CHECK(line == text.substr(0, width));
        text = line;
    }

    // Downloaded, then uploaded: the scale gives the name back trimmed, 0x00 as a space.
    std::string wire;
    for (char c : line) {
        const auto b = static_cast<std::uint8_t>(c);
        if (!SurvivesScale(b)) return;
        wire += static_cast<char>(scale::ToScaleChar(b));
    }
    for (char& c : text) c = c == '\0' ? ' ' : c;
    FUZZ_CHECK(scale::DecodeNameLine(wire) == Trimmed(text));
}

void CheckMessageLine(const std::string& cell) {
    const std::string line = scale::PrepareMessageLine(cell);
    const std::size_t width = scale::kMessageLineLength;
    FUZZ_CHECK(line.size() == width);
    const std::size_t kept = std::min(cell.size(), width);
    FUZZ_CHECK(line.compare(0, kept, cell, 0, kept) == 0);
    FUZZ_CHECK(line.find_first_not_of(' ', kept) == std::string::npos);
}

// Every byte has its own character, so bytes survive the grid's Unicode text.
void CheckCp1251Bytes(const std::string& bytes) {
    const QString text = tables::DecodeCp1251(bytes);
    FUZZ_CHECK(static_cast<std::size_t>(text.size()) == bytes.size());
    FUZZ_CHECK(tables::EncodeCp1251(text) == bytes);
}

// The same bytes as UTF-16 typed into the grid: one byte per character, '?' for what the code
// page cannot hold, and the result is stable under another trip.
void CheckUnicodeText(const std::uint8_t* data, std::size_t size) {
    QString text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.append(QChar(static_cast<char16_t>(data[i] | data[i + 1] << 8)));
    const std::string encoded = tables::EncodeCp1251(text);
    qsizetype characters = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++characters) {
        const QChar unit = text.at(i);
        const bool pair =
            unit.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        FUZZ_CHECK(static_cast<std::size_t>(characters) < encoded.size());
        const auto byte = static_cast<std::uint8_t>(encoded[static_cast<std::size_t>(characters)]);
        if (!pair && tables::IsInCp1251(unit.unicode())) {
            FUZZ_CHECK(tables::FromCp1251(byte) == unit.unicode());
        } else {
            FUZZ_CHECK(byte == '?');
        }
        if (pair) ++i;
    }
    FUZZ_CHECK(encoded.size() == static_cast<std::size_t>(characters));
    FUZZ_CHECK(tables::EncodeCp1251(tables::DecodeCp1251(encoded)) == encoded);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckNameLine(bytes);
    CheckMessageLine(bytes);
    CheckCp1251Bytes(bytes);
    CheckUnicodeText(data, size);
    for (char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        if (SurvivesScale(b) && b != 0)
            FUZZ_CHECK(scale::FromScaleChar(scale::ToScaleChar(b)) == b);
        FUZZ_CHECK(tables::ToCp1251(tables::FromCp1251(b)) == b);
    }
    return 0;
}
