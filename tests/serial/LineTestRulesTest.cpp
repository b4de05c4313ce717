// The event-mask and decimal rules of the line-test panels.

#include <gtest/gtest.h>

#include "LineTest.h"

namespace {

using serial::DecimalValue;
using serial::EventMaskOf;
using serial::EventMaskText;

TEST(EventMask, EachNameSelectsItsBitAloneAndShowsAsItself) {
    const std::pair<const char*, std::int32_t> names[] = {{"EV_CTS", 0x0008},
                                                          {"EV_DSR", 0x0010},
                                                          {"EV_ERR", 0x0080},
                                                          {"EV_RING", 0x0100},
                                                          {"EV_RLSD", 0x0020}};
    for (const auto& [name, bit] : names) {
        EXPECT_EQ(EventMaskOf(name), bit) << name;
        EXPECT_EQ(EventMaskText(bit), std::string("[") + name + "]") << name;
    }
}

TEST(EventMask, TextsThatAreNotAnItemSelectNothing) {
    for (const char* text :
         {"", "ev_ring", "EV_RING ", " EV_RING", "[EV_RING]", "EV_RXCHAR", "[EV_CTS][EV_DSR]"})
        EXPECT_EQ(EventMaskOf(text), std::nullopt) << '"' << text << '"';
}

TEST(EventMask, SeveralBitsShowInListOrderAndOthersAreLeftOut) {
    const std::pair<std::int32_t, const char*> masks[] = {
        {0x0098, "[EV_CTS][EV_DSR][EV_ERR]"},
        {0x01B8, "[EV_CTS][EV_DSR][EV_ERR][EV_RING][EV_RLSD]"},
        {0x0120, "[EV_RING][EV_RLSD]"},
        {0x0001 | 0x0004 | 0x0040 | 0x0200, ""},
        {0, ""},
        {-1, "[EV_CTS][EV_DSR][EV_ERR][EV_RING][EV_RLSD]"}};
    for (const auto& [mask, text] : masks) EXPECT_EQ(EventMaskText(mask), text) << mask;
}

TEST(Decimal, ValidTexts) {
    const std::pair<const char*, std::int32_t> valid[] = {{"0", 0},
                                                          {"5", 5},
                                                          {"300", 300},
                                                          {"-1", -1},
                                                          {"+7", 7},
                                                          {"  42", 42},
                                                          {"007", 7},
                                                          {"2147483647", 2147483647},
                                                          {"-2147483648", -2147483647 - 1}};
    for (const auto& [text, value] : valid) EXPECT_EQ(DecimalValue(text), value) << text;
}

TEST(Decimal, InvalidTexts) {
    for (const char* text : {"", "   ", "-", "+", "abc", "12a", "5 ", "1.5", "$FF", "0x10",
                             "2147483648", "-2147483649", "99999999999", "--1", "+-1"})
        EXPECT_EQ(DecimalValue(text), std::nullopt) << '"' << text << '"';
}

TEST(Decimal, MessageQuotesTheTextAsGiven) {
    EXPECT_EQ(serial::NotAnIntegerMessage("abc"), "'abc' is not a valid integer value");
    EXPECT_EQ(serial::NotAnIntegerMessage(""), "'' is not a valid integer value");
}

}  // namespace
