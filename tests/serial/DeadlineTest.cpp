// The deadline every bounded wait counts down on.

#include <gtest/gtest.h>

#include "Deadline.h"

namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

TEST(Deadline, RemainingTimeRoundsUpAndNeverGoesBelowZero) {
    struct Case {
        int lengthMs;
        microseconds elapsed;
        int remainingMs;
        bool expired;
    };
    const Case cases[] = {
        {500, microseconds(0), 500, false},        {500, microseconds(100), 500, false},
        {500, milliseconds(1), 499, false},        {500, microseconds(499'001), 1, false},
        {2000, microseconds(1'999'999), 1, false}, {500, milliseconds(500), 0, true},
        {500, milliseconds(750), 0, true},         {0, microseconds(0), 0, true},
    };
    const auto start = serial::Deadline::Clock::now();
    for (const Case& c : cases) {
        const serial::Deadline deadline(c.lengthMs, start);
        const auto now = start + c.elapsed;
        EXPECT_EQ(deadline.RemainingMs(now), c.remainingMs)
            << c.lengthMs << " ms after " << c.elapsed.count() << " us";
        EXPECT_EQ(deadline.Expired(now), c.expired)
            << c.lengthMs << " ms after " << c.elapsed.count() << " us";
    }
}

TEST(Deadline, CountsFromNowByDefault) {
    const serial::Deadline later(60'000);
    EXPECT_GT(later.RemainingMs(), 59'000);
    EXPECT_LE(later.RemainingMs(), 60'000);
    EXPECT_FALSE(later.Expired());
    EXPECT_TRUE(serial::Deadline(0).Expired());
    EXPECT_EQ(serial::Deadline(0).RemainingMs(), 0);
}

}  // namespace
