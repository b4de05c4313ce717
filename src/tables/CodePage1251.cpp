#include "CodePage1251.h"

#include <algorithm>
#include <array>

namespace tables {
namespace {

constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // 0xC0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // 0xC8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // 0xD0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // 0xD8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // 0xE0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // 0xE8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // 0xF0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // 0xF8
};

constexpr char16_t kCapitalA = 0x0410;
constexpr char16_t kSmallYa = 0x044F;
constexpr std::uint8_t kByteOfCapitalA = 0xC0;
constexpr std::uint8_t kReplacement = '?';

struct ReverseEntry {
    char16_t codePoint;
    std::uint8_t byte;
};

const std::array<ReverseEntry, 128>& ReverseTable() {
    static const std::array<ReverseEntry, 128> table = [] {
        std::array<ReverseEntry, 128> entries{};
        for (std::size_t i = 0; i < entries.size(); ++i) {
            entries[i] = {kHighHalf[i], static_cast<std::uint8_t>(0x80 + i)};
        }
        std::sort(entries.begin(), entries.end(),
                  [](ReverseEntry a, ReverseEntry b) { return a.codePoint < b.codePoint; });
        return entries;
    }();
    return table;
}

// The byte of a code point; false when the code page cannot hold it.
bool Lookup(char32_t codePoint, std::uint8_t& byte) {
    if (codePoint < 0x80) {
        byte = static_cast<std::uint8_t>(codePoint);
        return true;
    }
    // The Russian alphabet is almost all a name holds: answer it without a search.
    if (codePoint >= kCapitalA && codePoint <= kSmallYa) {
        byte = static_cast<std::uint8_t>(kByteOfCapitalA + (codePoint - kCapitalA));
        return true;
    }
    const auto& table = ReverseTable();
    const auto it = std::lower_bound(
        table.begin(), table.end(), codePoint,
        [](ReverseEntry entry, char32_t wanted) { return entry.codePoint < wanted; });
    if (it == table.end() || it->codePoint != codePoint) return false;
    byte = it->byte;
    return true;
}

// One character of valid UTF-8 at `at`, which moves past it. Overlong forms, surrogates and code
// points past U+10FFFF are not valid.
bool NextUtf8(std::string_view text, std::size_t& at, char32_t& codePoint) {
    const auto byteAt = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byteAt(at);
    if (lead < 0x80) {
        codePoint = lead;
        ++at;
        return true;
    }
    std::size_t extra = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        least = 0x10000;
    } else {
        return false;
    }
    codePoint = lead & (0x7F >> (extra + 1));
    if (text.size() - at <= extra) return false;
    for (std::size_t i = at + 1; i <= at + extra; ++i) {
        if ((byteAt(i) & 0xC0) != 0x80) return false;
        codePoint = (codePoint << 6) | (byteAt(i) & 0x3F);
    }
    if (codePoint < least || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return false;
    at += extra + 1;
    return true;
}

void AppendUtf8(char32_t codePoint, std::string& out) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        // The code page reaches no further than the first plane.
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

}  // namespace

char32_t FromCp1251(std::uint8_t byte) {
    return byte < 0x80 ? char32_t{byte} : char32_t{kHighHalf[byte - 0x80]};
}

std::uint8_t ToCp1251(char32_t codePoint) {
    std::uint8_t byte = kReplacement;
    return Lookup(codePoint, byte) ? byte : kReplacement;
}

bool IsInCp1251(char32_t codePoint) {
    std::uint8_t byte = 0;
    return Lookup(codePoint, byte);
}

QString DecodeCp1251(const std::string& bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        *out++ = QChar(static_cast<char16_t>(FromCp1251(static_cast<std::uint8_t>(c))));
    }
    return text;
}

std::string EncodeCp1251(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar unit = text.at(i);
        // The code page holds nothing beyond the first plane: a surrogate pair is one '?'.
        if (unit.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) ++i;
        bytes.push_back(static_cast<char>(ToCp1251(unit.unicode())));
    }
    return bytes;
}

bool Utf8ToCp1251(std::string_view utf8, std::string& out) {
    // Written through a pointer: a file of millions of characters costs a push_back check each.
    out.resize(utf8.size());
    char* next = out.data();
    std::size_t at = 0;
    char32_t codePoint = 0;
    while (at < utf8.size()) {
        if (static_cast<std::uint8_t>(utf8[at]) < 0x80) {
            *next++ = utf8[at++];
            continue;
        }
        if (!NextUtf8(utf8, at, codePoint)) return false;
        *next++ = static_cast<char>(ToCp1251(codePoint));
    }
    out.resize(static_cast<std::size_t>(next - out.data()));
    return true;
}

void AppendAsUtf8(std::string_view cp1251, std::string& utf8) {
    static const auto kUtf8Of = [] {
        std::array<std::string, 256> table;
        for (std::size_t byte = 0; byte < table.size(); ++byte)
            AppendUtf8(FromCp1251(static_cast<std::uint8_t>(byte)), table[byte]);
        return table;
    }();
    const auto utf8Of = [&](char c) -> const std::string& {
        return kUtf8Of[static_cast<std::uint8_t>(c)];
    };
    // Sized exactly before it is written: a list's file is megabytes, and each fresh page costs.
    std::size_t size = utf8.size();
    for (const char c : cp1251) size += utf8Of(c).size();
    const std::size_t start = utf8.size();
    utf8.resize(size);
    char* next = utf8.data() + start;
    for (const char c : cp1251) next = std::copy(utf8Of(c).begin(), utf8Of(c).end(), next);
}

std::string Cp1251ToUtf8(std::string_view bytes) {
    std::string utf8;
    AppendAsUtf8(bytes, utf8);
    return utf8;
}

}  // namespace tables
