// The upload of one PLU over the scripted fake line.

#include <gtest/gtest.h>

#include "Exchanges.h"
#include "ScriptedLine.h"

using namespace scale;

namespace {

const Bytes kRecord = Join({
    {0x01, 0x2C},              // PLU 300
    {0xFF, 0xFF, 0xFF, 0xFF},  // item code
    {0x20, 0x20, 0x80, 0x81},
    Repeat(24, 0x00),          // АБ
    Repeat(28, 0x00),          // empty
    {0x00, 0x00, 0x30, 0x39},  // price
    {0x00, 0x05},
    {0x00, 0x00},
    {0x00, 0x01},
    {0x01, 0x00},
    {0x10},
});

TEST(UploadPlu, DecodesEveryFieldToItsColumn) {
    ScriptedLine s;
    s.AnswerAfter(1, {0x77});
    s.AnswerAfter(2, {0x01});
    s.AnswerAfter(4, Join({{0x00, 0x07}, kRecord}));
    PluCells cells;
    ASSERT_EQ(UploadPlu(s.link, 7, cells), UploadOutcome::Record);
    const PluCells expected = {"300", "\xC0\xC1", "", "12345", "5", "0", "-1", "1", "256"};
    EXPECT_EQ(cells, expected);
    EXPECT_EQ(s.Sent(), (Bytes{0xA5, 0x05, 0x00, 0x07}));
    EXPECT_TRUE(s.line->input.empty());
}

TEST(UploadPlu, EveryOtherEndLeavesTheCellsAndSendsNothingMore) {
    struct Case {
        const char* name;
        std::map<std::size_t, Bytes> answers;
        UploadOutcome outcome;
        Bytes sent;
    };
    const Bytes all = {0xA5, 0x05, 0x00, 0x01};
    const Case cases[] = {
        {"end of list",
         {{1, {0x77}}, {2, {0x01}}, {4, {0x00, 0x00}}},
         UploadOutcome::EndOfList,
         all},
        {"U1 no answer", {}, UploadOutcome::U1, {0xA5}},
        {"U2 refused", {{1, {0x15}}}, UploadOutcome::U2, {0xA5}},
        {"U3 command refused", {{1, {0x77}}, {2, {0x15}}}, UploadOutcome::U3, {0xA5, 0x05}},
        {"command not answered", {{1, {0x77}}}, UploadOutcome::Stalled, {0xA5, 0x05}},
        {"record cut in the names",
         {{1, {0x77}},
          {2, {0x01}},
          {4, Join({{0x00, 0x01}, Bytes(kRecord.begin(), kRecord.begin() + 20)})}},
         UploadOutcome::Stalled,
         all},
        {"no closing byte",
         {{1, {0x77}},
          {2, {0x01}},
          {4, Join({{0x00, 0x01}, Bytes(kRecord.begin(), kRecord.end() - 1)})}},
         UploadOutcome::Stalled,
         all},
    };
    for (const auto& c : cases) {
        ScriptedLine s;
        for (const auto& [after, bytes] : c.answers) s.AnswerAfter(after, bytes);
        PluCells cells;
        cells.fill("keep");
        EXPECT_EQ(UploadPlu(s.link, 1, cells), c.outcome) << c.name;
        EXPECT_EQ(cells[0], "keep") << c.name;
        EXPECT_EQ(s.Sent(), c.sent) << c.name;
    }
}

}  // namespace
