// A changed-only load's ends, as every caller meets them: what it asks, what it sends, and what
// the log says.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "ChangesLoad.h"
#include "KeptDownload.h"
#include "OnScale.h"

namespace {

tables::Row Plu(int plu, int price) {
    return {std::to_string(plu), "Cheese", "kg", std::to_string(price), "5", "0", "77", "1", "0"};
}

tables::Table Prices(int price) {
    std::vector<tables::Row> rows;
    for (int plu = 1; plu <= 4; ++plu) rows.push_back(Plu(plu, price + plu));
    return ListOf(rows);
}

// Answers as told and writes down what it was asked.
class Answers : public jobs::ChangesObserver {
  public:
    explicit Answers(bool whole) : whole_(whole) {}
    bool SendWholeList(jobs::Distrust why, const std::string&) override {
        asked.push_back(why);
        return whole_;
    }
    bool TrustUnchecked(int, int) override { return true; }
    void Sending(int rows, int skipped) override { sending = {rows, skipped}; }
    std::vector<jobs::Distrust> asked;
    std::pair<int, int> sending{-1, -1};

  private:
    bool whole_;
};

TEST(ChangesLoad, EachEndAsksSendsAndLogsAsItShould) {
    using End = jobs::ChangesResult::End;
    struct Case {
        const char* name;
        std::function<void(OnScale&)> before;  // after a full load of the day's prices
        bool whole;                            // the answer to sending the whole list
        End end;
        std::vector<jobs::Distrust> asked;
        int sent;                     // records sent whole
        std::pair<int, int> sending;  // rows and skipped, as announced
        const char* logged;           // a part of the log's last line
    };
    const auto nothingKnown = [](OnScale&) { jobs::ForgetKnown("COM2", scale::RowKind::Plu); };
    const auto keyedIn = [](OnScale& s) {
        sim::PluRecord record = *s.scale.FindPlu(1);
        record.price = 7;
        s.scale.PutPlu(record);
    };
    const auto silent = [](OnScale& s) {
        sim::Fault fault;
        fault.kind = sim::Kind::PluUpload;
        fault.step = sim::Step::Record;
        fault.action = sim::Action::Silence;
        s.scale.Inject(fault);
    };
    const auto known = [](OnScale&) {};
    const Case cases[] = {
        {"two prices changed", known, false, End::Sent, {}, 2, {2, 2}, "rows 2/2 ok"},
        {"nothing known, declined",
         nothingKnown,
         false,
         End::Declined,
         {jobs::Distrust::Unknown},
         0,
         {-1, -1},
         ""},
        {"nothing known, whole",
         nothingKnown,
         true,
         End::Sent,
         {jobs::Distrust::Unknown},
         4,
         {4, -1},
         "rows 4/4 ok"},
        {"a price keyed in, whole",
         keyedIn,
         true,
         End::Sent,
         {jobs::Distrust::Stale},
         4,
         {4, -1},
         "rows 4/4 ok"},
        {"the check unanswered", silent, true, End::CheckFailed, {}, 0, {-1, -1}, "rows 0/2"},
    };
    for (const Case& c : cases) {
        OnScale s;
        jobs::TransferLog log(s.config.Dir() + "/test.log");
        Answers first(true);
        ASSERT_EQ(jobs::LoadChanges(s.link, "COM2", Prices(100), scale::RowKind::Plu, first, log)
                      .report.rowsDone,
                  4)
            << c.name;
        c.before(s);
        tables::Table next = Prices(100);
        next.SetCell(tables::Column::Price, 2, "555");
        next.SetCell(tables::Column::Price, 4, "777");
        ASSERT_TRUE(s.scale.WaitListening(std::chrono::seconds(3))) << c.name;
        s.scale.ClearReceived();
        const std::size_t logged = log.ReadAll().size();
        Answers answers(c.whole);
        const jobs::ChangesResult result =
            jobs::LoadChanges(s.link, "COM2", next, scale::RowKind::Plu, answers, log);
        EXPECT_EQ(result.end, c.end) << c.name;
        EXPECT_EQ(answers.asked, c.asked) << c.name;
        EXPECT_EQ(RecordsSent(s.scale), c.sent) << c.name;
        EXPECT_EQ(answers.sending, c.sending) << c.name;
        const std::string lines = log.ReadAll().substr(logged);
        EXPECT_EQ(lines.empty(), *c.logged == '\0') << c.name << ": " << lines;
        EXPECT_NE(lines.find(c.logged), std::string::npos) << c.name << ": " << lines;
    }
}

}  // namespace
