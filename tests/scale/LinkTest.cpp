// Link operations over the scripted fake line.

#include <gtest/gtest.h>

#include "ScriptedLine.h"

using namespace scale;

namespace {

TEST(SendNumbers, HighByteFirstTruncatingTowardZero) {
    struct Case {
        bool isLong;
        std::int32_t n;
        Bytes wire;
    };
    const Case cases[] = {
        {false, 300, {0x01, 0x2C}},
        {false, 70000, {0x11, 0x70}},
        {false, -1, {0x00, 0xFF}},
        {false, 65535, {0xFF, 0xFF}},
        {true, 1000000, {0x00, 0x0F, 0x42, 0x40}},
        {true, -1, {0x00, 0x00, 0x00, 0xFF}},
        {true, 12345, {0x00, 0x00, 0x30, 0x39}},
        {true, 2147483647, {0x7F, 0xFF, 0xFF, 0xFF}},
        {true, -256, {0x00, 0x00, 0xFF, 0x00}},
    };
    for (const auto& c : cases) {
        ScriptedLine s;
        c.isLong ? SendLong(s.comm, c.n) : SendWord(s.comm, c.n);
        EXPECT_EQ(s.Sent(), c.wire) << (c.isLong ? "long " : "word ") << c.n;
    }
}

TEST(GetNumbers, WordIsUnsignedLongIsSigned) {
    struct Case {
        bool isLong;
        Bytes wire;
        std::int32_t value;
    };
    const Case cases[] = {
        {false, {0x01, 0x2C}, 300},
        {false, {0xFF, 0xFF}, 65535},
        {true, {0xFF, 0xFF, 0xFF, 0xFF}, -1},
        {true, {0x00, 0x01, 0xE2, 0x40}, 123456},
        {true, {0x80, 0x00, 0x00, 0x00}, INT32_MIN},
    };
    for (const auto& c : cases) {
        ScriptedLine s;
        s.line->input.assign(c.wire.begin(), c.wire.end());
        std::int32_t value = 0;
        ASSERT_TRUE(c.isLong ? GetLong(s.link, value) : GetWord(s.link, value));
        EXPECT_EQ(value, c.value);
        EXPECT_TRUE(s.line->input.empty());
    }
}

TEST(ReadByte, GivesUpWhenTheByteNeverComesAndWaitsWithoutSpinning) {
    ScriptedLine s;
    std::int32_t value = 42;
    s.line->input = {0x12};
    EXPECT_FALSE(GetWord(s.link, value));
    EXPECT_EQ(value, 42);
    EXPECT_GT(s.line->waits, 0);
}

// A hung-up line keeps its last count while reads give nothing.
void HangUp(ScriptedLine& s) {
    s.line->input = {0x00, 0x00};
    s.comm.InQue();
    s.line->input.clear();
    s.line->failing.insert("ClearCommError");
}

TEST(ReadByte, MakesNoByteUpFromACountThatLies) {
    ScriptedLine s;
    HangUp(s);
    std::int32_t value = 42;
    EXPECT_FALSE(GetWord(s.link, value));
    EXPECT_EQ(value, 42);
    NewQue(s.comm);
    EXPECT_EQ(Handshake(s.link), HandshakeResult::Refused);
}

TEST(ReadByte, TakesAByteThatArrivesDuringTheWait) {
    ScriptedLine s;
    s.line->onWait = [](FakeLine& l) {
        if (l.waits == 3) l.input.push_back(0x5A);
    };
    std::uint8_t b = 0;
    ASSERT_TRUE(ReadByte(s.link, b));
    EXPECT_EQ(b, 0x5A);
}

TEST(ReadBytes, TakesBurstsAndTricklesWholeAndGivesUpOnAStall) {
    struct Case {
        const char* name;
        Bytes waiting;
        std::size_t perWait;  // bytes that arrive at each wait of the program
        std::size_t arriving;
        bool whole;
    };
    const Bytes record = {0x00, 0x2A, 0x91, 0xEB, 0xE0, 0x20, 0x00, 0x10};
    const Case cases[] = {
        {"all waiting", record, 0, 0, true},
        {"one burst after a wait", {}, record.size(), record.size(), true},
        {"one byte a wait", {}, 1, record.size(), true},
        {"a byte waiting, then a trickle", {record[0]}, 1, record.size() - 1, true},
        {"a trickle that stops", {}, 1, 5, false},
    };
    for (const auto& c : cases) {
        ScriptedLine s;
        // Time passes only in the link's sleeps and in a wait that nothing ends early.
        ScriptedTicker ticker;
        Link link{s.comm, s.clock, ScriptedLine::kTestByteTimeoutMs, kDrainMarginMs, ticker};
        s.line->input.assign(c.waiting.begin(), c.waiting.end());
        std::size_t sent = c.waiting.size();
        s.line->onWait = [&](FakeLine& l) {
            const std::size_t last = std::min(c.waiting.size() + c.arriving, sent + c.perWait);
            if (sent == last) ticker.SleepMs(l.waitMs);
            for (; sent < last; ++sent) l.input.push_back(record[sent]);
        };
        std::string bytes = "keep";
        EXPECT_EQ(ReadBytes(link, record.size(), bytes), c.whole) << c.name;
        EXPECT_EQ(bytes, c.whole ? std::string(record.begin(), record.end()) : "keep") << c.name;
    }
}

// The byte arrives during the wait that follows pass `arrivesAtWait` (0: already waiting).
struct ReplyCase {
    const char* name;
    std::vector<int> readings;  // t0 first
    int arrivesAtWait;
    bool seen;
    int clockReads;
};

TEST(WaitReply, FiveHundredMillisecondsOnTheMillisecondField) {
    const ReplyCase cases[] = {
        {"roll-over 900 then 350 still waits", {900, 350, 360}, 1, true, 3},
        {"roll-over 900 then 400 is a time-out", {900, 400}, 0, false, 2},
        {"800 then 200 is 400 ms", {800, 200}, 0, true, 2},
        {"byte in the pass that reaches 500", {0, 499, 500}, 1, false, 3},
        {"silence ends at exactly 500", {100, 300, 599, 600}, -1, false, 4},
        {"byte at once", {0, 0}, 0, true, 2},
    };
    for (const auto& c : cases) {
        ScriptedLine s(c.readings);
        if (c.arrivesAtWait == 0) s.line->input.push_back(0x77);
        s.line->onWait = [&c](FakeLine& l) {
            if (l.waits == c.arrivesAtWait) l.input.push_back(0x77);
        };
        EXPECT_EQ(WaitReply(s.link), c.seen) << c.name;
        EXPECT_EQ(s.clock.reads, c.clockReads) << c.name;
    }
}

TEST(WaitReply, SleepsBetweenPasses) {
    ScriptedLine s({0, 100, 200, 300, 400, 500});
    EXPECT_FALSE(WaitReply(s.link));
    EXPECT_EQ(s.line->waits, 4);
}

TEST(Handshake, StaleBytesAreFlushedAndNeverTakenForTheReply) {
    ScriptedLine s;
    s.line->input = {0x77, 0x01, 0x77};
    std::size_t waitingAtRequest = 99;
    s.line->onWrite = [&](FakeLine& l) { waitingAtRequest = l.input.size(); };
    EXPECT_EQ(Handshake(s.link), HandshakeResult::NoAnswer);
    EXPECT_EQ(waitingAtRequest, 0u);
    EXPECT_EQ(s.Sent(), Bytes{0xA5});
}

TEST(Handshake, ReadyOnlyOn0x77AndTheReplyIsConsumed) {
    struct Case {
        std::uint8_t reply;
        HandshakeResult result;
    };
    const Case cases[] = {{0x77, HandshakeResult::Ready},
                          {0x15, HandshakeResult::Refused},
                          {0x00, HandshakeResult::Refused}};
    for (const auto& c : cases) {
        ScriptedLine s;
        s.line->input = {0x42};
        s.AnswerAfter(1, {c.reply});
        EXPECT_EQ(Handshake(s.link), c.result) << int(c.reply);
        EXPECT_TRUE(s.line->input.empty());
        EXPECT_EQ(s.Sent(), Bytes{0xA5});
    }
}

TEST(NewQue, ReadsExactlyWhatIsWaiting) {
    ScriptedLine s;
    s.line->input = {1, 2, 3};
    NewQue(s.comm);
    EXPECT_TRUE(s.line->input.empty());
    NewQue(s.comm);
    EXPECT_TRUE(s.Sent().empty());
}

}  // namespace
