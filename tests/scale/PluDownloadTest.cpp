// The PLU download of one row over the scripted fake line.

#include <gtest/gtest.h>

#include "Exchanges.h"
#include "ScriptedLine.h"

using namespace scale;

namespace {

PluRecord CheeseRow() {
    PluRecord r;
    r.plu = 1;
    r.name1 = "\xD1\xFB\xF0";  // Сыр
    r.name2 = "";
    r.price = 12345;
    r.shelfLife = 5;
    r.tare = 0;
    r.itemCode = 123;
    r.group = 1;
    r.message = 0;
    return r;
}

const Bytes kCheeseWire = Join({
    {0xA5},
    {0x02},
    {0x00, 0x01},
    {0x00, 0x00, 0x00, 0x7B},
    Repeat(12, 0x20),
    {0x91, 0xEB, 0xE0},
    Repeat(13, 0x20),
    Repeat(28, 0x20),
    {0x00, 0x00, 0x30, 0x39},
    {0x00, 0x05},
    {0x00, 0x00},
    {0x00, 0x01},
    {0x00, 0x00},
});

// The scale's side of a whole row: ready, accepted, number check, closing byte.
void AnswerRow(ScriptedLine& s, const Bytes& check, std::uint8_t closing) {
    s.AnswerAfter(1, {0x77});
    s.AnswerAfter(2, {0x01});
    s.AnswerAfter(4, check);
    s.AnswerAfter(76, {closing});
}

TEST(DownloadPlu, WholeRowByteForByte) {
    ScriptedLine s;
    AnswerRow(s, {0x00, 0x01}, 0x10);
    EXPECT_EQ(DownloadPlu(s.link, CheeseRow()), PluOutcome::Ok);
    EXPECT_EQ(s.Sent(), kCheeseWire);
}

TEST(DownloadPlu, AnyNonZeroCheckAndAnyClosingByteAreAccepted) {
    const std::pair<Bytes, std::uint8_t> answers[] = {
        {{0x00, 0x05}, 0x10}, {{0xFF, 0xFF}, 0x00}, {{0x01, 0x00}, 0xFF}};
    for (const auto& [check, closing] : answers) {
        ScriptedLine s;
        AnswerRow(s, check, closing);
        EXPECT_EQ(DownloadPlu(s.link, CheeseRow()), PluOutcome::Ok);
        EXPECT_EQ(s.Sent(), kCheeseWire);
    }
}

TEST(DownloadPlu, PluNumberAndNameVariantsOnTheWire) {
    PluRecord r = CheeseRow();
    r.plu = 300;
    r.name1 = "\xD1\xFB\xF0   ";
    r.name2 = std::string(27, 'x');
    ScriptedLine s;
    AnswerRow(s, {0x00, 0x01}, 0x10);
    ASSERT_EQ(DownloadPlu(s.link, r), PluOutcome::Ok);
    const Bytes& sent = s.Sent();
    EXPECT_EQ(Bytes(sent.begin() + 2, sent.begin() + 4), (Bytes{0x01, 0x2C}));
    EXPECT_EQ(Bytes(sent.begin() + 8, sent.begin() + 36),
              Bytes(kCheeseWire.begin() + 8, kCheeseWire.begin() + 36));
    EXPECT_EQ(Bytes(sent.begin() + 36, sent.begin() + 64), Join({Repeat(27, 'x'), {0x00}}));
}

struct FailureCase {
    const char* name;
    std::map<std::size_t, Bytes> answers;
    PluOutcome outcome;
    std::size_t sent;  // bytes of the good row that went out before the end
};

TEST(DownloadPlu, EachFailureEndsTheRowAtOnce) {
    const FailureCase cases[] = {
        {"T1 no answer", {}, PluOutcome::T1, 1},
        {"T2 refused", {{1, {0x15}}}, PluOutcome::T2, 1},
        {"T3 command refused", {{1, {0x77}}, {2, {0x00}}}, PluOutcome::T3, 2},
        {"command not answered", {{1, {0x77}}}, PluOutcome::Stalled, 2},
        {"T4 number refused", {{1, {0x77}}, {2, {0x01}}, {4, {0x00, 0x00}}}, PluOutcome::T4, 4},
        {"check cut short", {{1, {0x77}}, {2, {0x01}}, {4, {0x00}}}, PluOutcome::Stalled, 4},
        {"no closing byte", {{1, {0x77}}, {2, {0x01}}, {4, {0x00, 0x01}}}, PluOutcome::Stalled, 76},
    };
    for (const auto& c : cases) {
        ScriptedLine s;
        for (const auto& [after, bytes] : c.answers) s.AnswerAfter(after, bytes);
        EXPECT_EQ(DownloadPlu(s.link, CheeseRow()), c.outcome) << c.name;
        EXPECT_EQ(s.Sent(), Bytes(kCheeseWire.begin(), kCheeseWire.begin() + c.sent)) << c.name;
    }
}

}  // namespace
