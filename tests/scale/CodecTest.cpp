// Pure conversions between cells and the scale's bytes. Texts are code page 1251 bytes.

#include <gtest/gtest.h>

#include <vector>

#include "Codec.h"

using namespace scale;

namespace {

struct BytePair {
    std::uint8_t in;
    std::uint8_t out;
};

TEST(TextConversion, ToScaleMovesCyrillicToCodePage866) {
    const BytePair cases[] = {
        {0xC0, 0x80},  // А
        {0xEF, 0xAF},  // п
        {0xF0, 0xE0},  // р
        {0xFF, 0xEF},  // я
        {0xA8, 0xF0},  // Ё
        {0xB8, 0xF1},  // ё
        {0x41, 0x41},  // Latin A
        {0xB9, 0xB9},  // №
        {0x00, 0x00}, {0x20, 0x20},
    };
    for (const auto& c : cases) EXPECT_EQ(ToScaleChar(c.in), c.out) << std::hex << int(c.in);
}

TEST(TextConversion, FromScaleTurnsZeroIntoSpaceAndCyrillicBack) {
    const BytePair cases[] = {
        {0x00, 0x20}, {0xF1, 0xB8}, {0xF0, 0xA8}, {0x80, 0xC0},
        {0xAF, 0xEF}, {0xE0, 0xF0}, {0xEF, 0xFF}, {0x41, 0x41},
    };
    for (const auto& c : cases) EXPECT_EQ(FromScaleChar(c.in), c.out) << std::hex << int(c.in);
    // The pseudo-graphics of code page 866 are not letters and come back as they are.
    for (int b = 0xB0; b <= 0xDF; ++b) EXPECT_EQ(FromScaleChar(std::uint8_t(b)), b) << b;
}

TEST(TextConversion, EveryCyrillicLetterComesBackAsItWent) {
    std::vector<int> letters = {0xA8, 0xB8};
    for (int c = 0xC0; c <= 0xFF; ++c) letters.push_back(c);
    for (int c : letters) {
        const auto sent = ToScaleChar(static_cast<std::uint8_t>(c));
        EXPECT_NE(sent, c) << std::hex << c;
        EXPECT_EQ(FromScaleChar(sent), c) << std::hex << c;
    }
}

struct IntCase {
    const char* text;
    bool ok;
    std::int32_t value;
};

TEST(CellToInt, FollowsTheCellRules) {
    const IntCase cases[] = {
        {" 12", true, 12},
        {"  -7", true, -7},
        {"+5", true, 5},
        {"0", true, 0},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, INT32_MIN},
        {"0002147483647", true, 2147483647},
        {"$1F", true, 31},
        {"$1f", true, 31},
        {"$FFFFFFFF", true, -1},
        {"$80000000", true, INT32_MIN},
        {"$000000001F", true, 31},
        {"  $0", true, 0},
        {"12 ", false, 0},
        {"1 2", false, 0},
        {"", false, 0},
        {"   ", false, 0},
        {"+", false, 0},
        {"-", false, 0},
        {"$", false, 0},
        {"-$1", false, 0},
        {"+$1", false, 0},
        {"$-1", false, 0},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
        {"$100000000", false, 0},
        {"$1G", false, 0},
        {"12a", false, 0},
        {"\t12", false, 0},
        {"1.5", false, 0},
        {"0x1F", false, 0},
    };
    for (const auto& c : cases) {
        std::int32_t value = 12345678;
        EXPECT_EQ(CellToInt(c.text, value), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(value, c.ok ? c.value : 12345678) << '"' << c.text << '"';
    }
}

TEST(MessageNumberOf, UnreadableCellBecomes201) {
    EXPECT_EQ(MessageNumberOf("1"), 1);
    EXPECT_EQ(MessageNumberOf("200"), 200);
    EXPECT_EQ(MessageNumberOf(" 300"), 300);
    EXPECT_EQ(MessageNumberOf("0"), 0);
    EXPECT_EQ(MessageNumberOf("abc"), 201);
    EXPECT_EQ(MessageNumberOf(""), 201);
    EXPECT_EQ(MessageNumberOf("7 "), 201);
}

std::string Spaces(std::size_t n) {
    return std::string(n, ' ');
}
std::string Letters(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('a' + i % 26);
    return s;
}

struct LineCase {
    const char* name;
    std::string cell;
    std::string line;
};

TEST(PrepareNameLine, CentresTrimsClosesAndCuts) {
    const std::string syr = "\xD1\xFB\xF0";
    const LineCase cases[] = {
        {"empty", "", Spaces(28)},
        {"spaces only", Spaces(5), Spaces(28)},
        {"one space", " ", Spaces(28)},
        {"three letters", syr, Spaces(12) + syr + Spaces(13)},
        {"trailing spaces trimmed", syr + "   ", Spaces(12) + syr + Spaces(13)},
        {"leading spaces kept", "  ab", Spaces(12) + "  ab" + Spaces(12)},
        {"26 centred", Letters(26), " " + Letters(26) + " "},
        {"25 odd space right", Letters(25), " " + Letters(25) + "  "},
        {"27 closed by zero", Letters(27), Letters(27) + std::string(1, '\0')},
        {"27 after trimming", Letters(27) + "  ", Letters(27) + std::string(1, '\0')},
        {"28 whole", Letters(28), Letters(28)},
        {"30 cut", Letters(30), Letters(28)},
    };
    for (const auto& c : cases) {
        const std::string line = PrepareNameLine(c.cell);
        EXPECT_EQ(line.size(), 28u) << c.name;
        EXPECT_EQ(line, c.line) << c.name;
    }
}

TEST(PrepareMessageLine, PadsOrCutsToFifty) {
    const LineCase cases[] = {
        {"empty", "", Spaces(50)},
        {"short", "Test 1", "Test 1" + Spaces(44)},
        {"spaces kept", "  x ", "  x " + Spaces(46)},
        {"50 whole", Letters(50), Letters(50)},
        {"51 cut", Letters(51), Letters(50)},
    };
    for (const auto& c : cases) EXPECT_EQ(PrepareMessageLine(c.cell), c.line) << c.name;
}

TEST(DecodeNameLine, ConvertsThenTrims) {
    const LineCase cases[] = {
        {"letters after zeros", "  \x80\x81" + std::string(24, '\0'), "\xC0\xC1"},
        {"all zeros", std::string(28, '\0'), ""},
        {"all spaces", Spaces(28), ""},
        {"inner space kept", "A B" + Spaces(25), "A B"},
        {"both ends trimmed", Spaces(10) + "\xE0\xE1" + Spaces(16), "\xF0\xF1"},
        {"full line", Letters(28), Letters(28)},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeNameLine(c.cell), c.line) << c.name;
}

}  // namespace
