// The message download of one row over the scripted fake line.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>

#include "Codec.h"
#include "Exchanges.h"
#include "ScriptedLine.h"

using namespace scale;

namespace {

using Lines = std::array<std::string, 8>;

std::string Letters(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('a' + i % 26);
    return s;
}

const Lines kLines = {"\xA8\xEB\xEA\xE0", "Test 1", "", Letters(50), Letters(51), " x ", "", ""};

const Bytes kText = Join({
    {0xF0, 0xAB, 0xAA, 0xA0},
    Repeat(46, 0x20),
    BytesOf("Test 1"),
    Repeat(44, 0x20),
    Repeat(50, 0x20),
    BytesOf(Letters(50)),
    BytesOf(Letters(50)),
    BytesOf(" x "),
    Repeat(47, 0x20),
    Repeat(100, 0x20),
});

void AnswerMessage(ScriptedLine& s, std::uint8_t closing) {
    s.AnswerAfter(1, {0x77});
    s.AnswerAfter(2, {0x01});
    s.AnswerAfter(4, {0x00, 0x01});
    s.AnswerAfter(404, {closing});
}

TEST(DownloadMsg, WholeMessageByteForByte) {
    ScriptedLine s;
    AnswerMessage(s, 0x10);
    EXPECT_EQ(DownloadMsg(s.link, 1, kLines), MsgOutcome::Ok);
    EXPECT_EQ(s.Sent(), Join({{0xA5, 0x00, 0x00, 0x01}, kText}));
}

TEST(DownloadMsg, NumberOnTheWire) {
    const std::pair<std::int32_t, Bytes> cases[] = {{1, {0x00, 0x01}},
                                                    {200, {0x00, 0xC8}},
                                                    {300, {0x01, 0x2C}},
                                                    {MessageNumberOf("abc"), {0x00, 0xC9}}};
    for (const auto& [number, wire] : cases) {
        ScriptedLine s;
        AnswerMessage(s, 0x10);
        ASSERT_EQ(DownloadMsg(s.link, number, Lines{}), MsgOutcome::Ok) << number;
        EXPECT_EQ(Bytes(s.Sent().begin() + 2, s.Sent().begin() + 4), wire) << number;
    }
}

TEST(DownloadMsg, EachFailureEndsTheMessageAtOnce) {
    const Bytes good = Join({{0xA5, 0x00, 0x00, 0x01}, kText});
    struct Case {
        const char* name;
        std::map<std::size_t, Bytes> answers;
        MsgOutcome outcome;
        std::size_t sent;
    };
    const Case cases[] = {
        {"F1 no answer", {}, MsgOutcome::F1, 1},
        {"F2 refused", {{1, {0x15}}}, MsgOutcome::F2, 1},
        {"F3 command not answered", {{1, {0x77}}}, MsgOutcome::F3, 2},
        {"F4 command refused", {{1, {0x77}}, {2, {0x02}}}, MsgOutcome::F4, 2},
        {"F5 number refused", {{1, {0x77}}, {2, {0x01}}, {4, {0x00, 0x00}}}, MsgOutcome::F5, 4},
        {"check cut short", {{1, {0x77}}, {2, {0x01}}, {4, {0x01}}}, MsgOutcome::Stalled, 4},
        {"F6 wrong closing byte",
         {{1, {0x77}}, {2, {0x01}}, {4, {0x00, 0x01}}, {404, {0x11}}},
         MsgOutcome::F6,
         404},
        {"no closing byte",
         {{1, {0x77}}, {2, {0x01}}, {4, {0x00, 0x01}}},
         MsgOutcome::Stalled,
         404},
    };
    for (const auto& c : cases) {
        ScriptedLine s;
        for (const auto& [after, bytes] : c.answers) s.AnswerAfter(after, bytes);
        EXPECT_EQ(DownloadMsg(s.link, 1, kLines), c.outcome) << c.name;
        EXPECT_EQ(s.Sent(), Bytes(good.begin(), good.begin() + c.sent)) << c.name;
    }
}

// The closing byte's bound starts once the text has left the port, not when it was queued: a
// real port takes 0.42 s to send a message's text. Times are a fifth of the real ones, and pass
// only on the link's own clock, as it sleeps and waits.
TEST(DownloadMsg, ClosingByteBoundStartsOnceTheTextHasLeft) {
    struct Case {
        const char* name;
        std::uint32_t queued;
        int drainMs;   // -1: the driver never drains
        int answerMs;  // after the text was queued; -1: no answer
        MsgOutcome outcome;
        int endMs;  // when the download ended, after the text was queued
    };
    // 400 bytes take 501 ms at 9600 baud, 24 bytes 31 ms; a drain that never comes is given
    // that and the 50 ms margin.
    const Case cases[] = {
        {"answer late in the bound after a slow drain", 400, 84, 84 + 360, MsgOutcome::Ok, 444},
        {"answer at the end of the bound", 400, 84, 84 + 399, MsgOutcome::Ok, 483},
        {"answer just past the bound", 400, 84, 84 + 401, MsgOutcome::Stalled, 484},
        {"no answer after a slow drain", 400, 84, -1, MsgOutcome::Stalled, 484},
        {"a driver that never drains", 24, -1, -1, MsgOutcome::Stalled, 31 + 50 + 400},
        {"answer after the margin of a driver that never drains", 24, -1, 81 + 390, MsgOutcome::Ok,
         471},
    };
    for (const Case& c : cases) {
        ScriptedLine s;
        ScriptedTicker ticker;
        Link link{s.comm, s.clock, 400, 50, ticker};
        AnswerMessage(s, 0x10);
        std::optional<serial::Deadline::Clock::time_point> queuedAt;
        const auto since = [&] {
            return static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(ticker.now - *queuedAt)
                    .count());
        };
        const auto scripted = s.line->onWrite;
        // The last text byte queues the text; the closing byte then comes by the clock.
        s.line->onWrite = [&](FakeLine& l) {
            if (l.output.size() != 404) return scripted(l);
            queuedAt = ticker.now;
            l.outQueue = c.queued;
        };
        s.line->onStatus = [&](FakeLine& l) {
            if (!queuedAt) return;
            const int ms = since();
            if (c.drainMs >= 0)
                l.outQueue = ms >= c.drainMs ? 0 : c.queued - c.queued * ms / c.drainMs;
            if (c.answerMs >= 0 && l.input.empty() && ms >= c.answerMs) l.input.push_back(0x10);
        };
        // A wait ends when its time-out has passed or the answer came, whichever is first.
        s.line->onWait = [&](FakeLine& l) {
            const int answerIn = c.answerMs >= 0 ? c.answerMs - since() : l.waitMs;
            ticker.SleepMs(std::max(0, std::min(l.waitMs, answerIn)));
        };
        EXPECT_EQ(DownloadMsg(link, 1, kLines), c.outcome) << c.name;
        ASSERT_TRUE(queuedAt) << c.name;
        EXPECT_EQ(since(), c.endMs) << c.name;
    }
}

}  // namespace
