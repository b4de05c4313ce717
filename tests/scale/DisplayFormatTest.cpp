// The readout's three number formats, for every length of the decimal text.

#include <gtest/gtest.h>

#include <climits>

#include "DisplayFormat.h"

using namespace scale;

namespace {

struct FormatCase {
    std::int32_t value;
    const char* weight;
    const char* price;
    const char* total;
};

TEST(DisplayFormat, CommaPlacedByTheLengthOfTheDigits) {
    const FormatCase cases[] = {
        {0, "0,000", "0,00", "0,00"},
        {5, "0,005", "0,05", "0,05"},
        {12, "0,012", "0,12", "0,12"},
        {123, "0,123", "1,23", "1,23"},
        {1234, "1,234", "12,34", "12,34"},
        {12345, "12,345", "123,45", "123,45"},
        {123456, "123456", "1234,56", "1234,56"},
        {1234567, "1234567", "1234567", "12345,67"},
        {12345678, "12345678", "12345678", "12345678"},
        {100, "0,100", "1,00", "1,00"},
        {INT32_MAX, "2147483647", "2147483647", "2147483647"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatWeight(c.value), c.weight) << c.value;
        EXPECT_EQ(FormatPrice(c.value), c.price) << c.value;
        EXPECT_EQ(FormatTotal(c.value), c.total) << c.value;
    }
}

TEST(DisplayFormat, NegativeIsAMinusAndTheSameRuleOnTheDigits) {
    const FormatCase cases[] = {
        {-5, "-0,005", "-0,05", "-0,05"},
        {-12, "-0,012", "-0,12", "-0,12"},
        {-1234, "-1,234", "-12,34", "-12,34"},
        {-123456, "-123456", "-1234,56", "-1234,56"},
        {-1234567, "-1234567", "-1234567", "-12345,67"},
        {INT32_MIN, "-2147483648", "-2147483648", "-2147483648"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatWeight(c.value), c.weight) << c.value;
        EXPECT_EQ(FormatPrice(c.value), c.price) << c.value;
        EXPECT_EQ(FormatTotal(c.value), c.total) << c.value;
    }
}

}  // namespace
