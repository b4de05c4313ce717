// The questions of loads on several scales: merged by kind, asked only once every load has asked
// or gone past its questions, and each answer reaching every scale that asked it.

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "ShopQuestions.h"
#include "WaitFor.h"

namespace {

using jobs::QuestionKind;

jobs::ScaleQuestion Q(int scale, QuestionKind kind, int toSend = 0) {
    jobs::ScaleQuestion q;
    q.scale = scale;
    q.kind = kind;
    q.toSend = toSend;
    q.rows = 10;
    return q;
}

TEST(ShopQuestionsTest, MergesByKindInScaleOrder) {
    struct Case {
        const char* name;
        std::vector<jobs::ScaleQuestion> asked;
        // Per merged question: its kind and its scales.
        std::vector<std::pair<QuestionKind, std::vector<int>>> merged;
    };
    const std::vector<Case> cases = {
        {"none", {}, {}},
        {"one kind from three scales, asked out of order",
         {Q(2, QuestionKind::NothingKnown), Q(0, QuestionKind::NothingKnown),
          Q(1, QuestionKind::NothingKnown)},
         {{QuestionKind::NothingKnown, {0, 1, 2}}}},
        {"kinds apart",
         {Q(1, QuestionKind::KnownStale), Q(0, QuestionKind::NothingKnown),
          Q(2, QuestionKind::KnownStale)},
         {{QuestionKind::NothingKnown, {0}}, {QuestionKind::KnownStale, {1, 2}}}},
        {"unchecked messages keep each scale's count",
         {Q(1, QuestionKind::MessagesUnchecked, 4), Q(0, QuestionKind::MessagesUnchecked, 2)},
         {{QuestionKind::MessagesUnchecked, {0, 1}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto merged = jobs::MergeQuestions(c.asked);
        ASSERT_EQ(merged.size(), c.merged.size());
        for (std::size_t i = 0; i < merged.size(); ++i) {
            EXPECT_EQ(merged[i].kind, c.merged[i].first);
            std::vector<int> scales;
            for (const auto& q : merged[i].asked) {
                scales.push_back(q.scale);
                EXPECT_EQ(q.kind, merged[i].kind);
            }
            EXPECT_EQ(scales, c.merged[i].second);
        }
    }
    const auto counts = jobs::MergeQuestions(
        {Q(1, QuestionKind::MessagesUnchecked, 4), Q(0, QuestionKind::MessagesUnchecked, 2)});
    EXPECT_EQ(counts[0].asked[0].toSend, 2);
    EXPECT_EQ(counts[0].asked[1].toSend, 4);
}

// Three loads: how each reaches its questions, and what the round gives and answers.
TEST(ShopQuestionsTest, AsksOnceEveryLoadHasAskedOrSettled) {
    struct Case {
        const char* name;
        std::vector<bool> asks;  // per scale: asks NothingKnown, or settles without asking
        bool yes;
        std::size_t merged;  // questions in the round
    };
    const std::vector<Case> cases = {
        {"all three ask: one question", {true, true, true}, true, 1},
        {"one settles, two ask", {true, false, true}, false, 1},
        {"none asks: no round", {false, false, false}, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::atomic<int> told{0};
        jobs::QuestionRound round(3, [&] { ++told; });
        std::vector<std::future<bool>> answers(3);
        // The first scale is held back: no round may be given while it has neither asked nor
        // settled.
        for (int s = 1; s < 3; ++s) {
            if (c.asks[s])
                answers[s] = std::async(std::launch::async, [&round, s] {
                    return round.Ask(Q(s, QuestionKind::NothingKnown));
                });
            else
                round.Settled(s);
        }
        // Each of the two has asked or settled.
        ASSERT_TRUE(WaitFor([&] { return told >= 2; }, 5000));
        EXPECT_TRUE(round.Take().empty());
        if (c.asks[0])
            answers[0] = std::async(std::launch::async, [&round] {
                return round.Ask(Q(0, QuestionKind::NothingKnown));
            });
        else
            round.Settled(0);
        std::vector<jobs::MergedQuestion> taken;
        WaitFor([&] { return !(taken = round.Take()).empty(); }, c.merged ? 5000 : 100);
        ASSERT_EQ(taken.size(), c.merged);
        if (taken.empty()) continue;
        std::size_t asking = 0;
        for (bool a : c.asks) asking += a ? 1 : 0;
        EXPECT_EQ(taken[0].asked.size(), asking);
        // Given once only.
        EXPECT_TRUE(round.Take().empty());
        round.Answer(taken[0], c.yes);
        for (int s = 0; s < 3; ++s)
            if (c.asks[s]) {
                ASSERT_EQ(answers[s].wait_for(std::chrono::seconds(5)), std::future_status::ready);
                EXPECT_EQ(answers[s].get(), c.yes);
            }
    }
}

TEST(ShopQuestionsTest, CancelAnswersWaitingAndLaterQuestionsNo) {
    jobs::QuestionRound round(2, nullptr);
    auto waiting =
        std::async(std::launch::async, [&] { return round.Ask(Q(0, QuestionKind::KnownStale)); });
    ASSERT_EQ(waiting.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    round.Cancel();
    ASSERT_EQ(waiting.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_FALSE(waiting.get());
    EXPECT_FALSE(round.Ask(Q(1, QuestionKind::NothingKnown)));
    EXPECT_TRUE(round.Take().empty());
}

}  // namespace
