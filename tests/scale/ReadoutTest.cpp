// The display readout over the scripted fake line.

#include <gtest/gtest.h>

#include "Exchanges.h"
#include "ScriptedLine.h"

using namespace scale;

namespace {

const Bytes kValues = {0x00, 0x00, 0x04, 0xD2, 0x00, 0x00, 0x00, 0x05, 0x00, 0x01, 0xE2, 0x40};

TEST(ReadDisplay, ReadsTheThreeValuesAndSendsOnlyRequestAndCommand) {
    ScriptedLine s;
    s.AnswerAfter(1, {0x77});
    s.AnswerAfter(2, kValues);
    DisplayReading r;
    EXPECT_EQ(ReadDisplay(s.link, r), ReadoutOutcome::Ok);
    EXPECT_EQ(r.weight, 1234);
    EXPECT_EQ(r.price, 5);
    EXPECT_EQ(r.total, 123456);
    EXPECT_EQ(s.Sent(), (Bytes{0xA5, 0x06}));
}

TEST(ReadDisplay, EveryFailureLeavesAZeroReadingAndSendsNothingMore) {
    struct Case {
        const char* name;
        Bytes ready;
        Bytes values;
        ReadoutOutcome outcome;
        Bytes sent;
    };
    const Case cases[] = {
        {"no answer", {}, {}, ReadoutOutcome::NoAnswer, {0xA5}},
        {"refused", {0x15}, {}, ReadoutOutcome::Refused, {0xA5}},
        {"stall after five value bytes",
         {0x77},
         Bytes(kValues.begin(), kValues.begin() + 5),
         ReadoutOutcome::Stalled,
         {0xA5, 0x06}},
        {"stall after eleven value bytes",
         {0x77},
         Bytes(kValues.begin(), kValues.end() - 1),
         ReadoutOutcome::Stalled,
         {0xA5, 0x06}},
    };
    for (const auto& c : cases) {
        ScriptedLine s;
        s.AnswerAfter(1, c.ready);
        s.AnswerAfter(2, c.values);
        DisplayReading r{7, 8, 9};
        EXPECT_EQ(ReadDisplay(s.link, r), c.outcome) << c.name;
        EXPECT_EQ(r.weight, 0) << c.name;
        EXPECT_EQ(r.price, 0) << c.name;
        EXPECT_EQ(r.total, 0) << c.name;
        EXPECT_EQ(s.Sent(), c.sent) << c.name;
    }
}

}  // namespace
