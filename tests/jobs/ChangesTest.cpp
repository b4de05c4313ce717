// Comparing a list with the scale, and sending only what changed once the scale has shown it
// still holds what is known, against the virtual scale.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "Compare.h"
#include "Download.h"
#include "KnownContents.h"
#include "OnScale.h"
#include "ScaleText.h"

namespace {

tables::Row Plu(int plu, int price, std::string name = "Cheese") {
    return {std::to_string(plu), name, "kg", std::to_string(price), "5", "0", "77", "1", "0"};
}

std::vector<tables::Row> List(int count) {
    std::vector<tables::Row> rows;
    for (int plu = 1; plu <= count; ++plu) rows.push_back(Plu(plu, 100 * plu));
    return rows;
}

class Stopper : public jobs::Observer {
  public:
    explicit Stopper(int stopAfter) : stopAfter_(stopAfter) {}
    bool StopNow() override { return ++asked_ == stopAfter_; }

  private:
    int stopAfter_;
    int asked_ = 0;
};

// Loads the rows and keeps what the scale confirmed, as every load does.
void Load(OnScale& s, const tables::Table& table, const std::vector<int>* rows = nullptr,
          int stopAfter = 0) {
    Stopper stopper(stopAfter);
    jobs::KnownRecorder recorder("COM2", scale::RowKind::Plu, &table, stopper);
    recorder.Finish(rows ? jobs::RunDownload(s.link, table, scale::RowKind::Plu, *rows, recorder)
                         : jobs::RunDownload(s.link, table, scale::RowKind::Plu, recorder));
}

std::vector<int> DownloadedPlus(const OnScale& s) {
    std::vector<int> plus;
    for (const sim::Exchange& e : s.scale.Exchanges())
        if (e.kind == sim::Kind::PluDownload && e.complete) plus.push_back(e.number);
    return plus;
}

TEST(CompareJob, FindsEqualDifferingMissingAndExtraPlusFieldByField) {
    struct Case {
        const char* name;
        std::vector<tables::Row> list;
        std::vector<tables::Row> held;
        int equal;
        std::vector<std::pair<int, int>> differing;  // PLU, column
        std::vector<int> missing;
        std::vector<int> extra;
    };
    const std::string longName(40, 'n');
    const Case cases[] = {
        {"the same", List(3), List(3), 3, {}, {}, {}},
        {"trailing spaces and a name cut at the line",
         {Plu(1, 5, "Cheese   "), Plu(2, 5, longName)},
         {Plu(1, 5, "Cheese"), Plu(2, 5, longName.substr(0, 28))},
         2,
         {},
         {},
         {}},
        {"a price and a name",
         {Plu(1, 5), Plu(2, 5, "Milk"), Plu(3, 5)},
         {Plu(1, 6), Plu(2, 5, "Mild"), Plu(3, 5)},
         1,
         {{1, tables::Column::Price}, {2, tables::Column::Name1}},
         {},
         {}},
        {"missing and extra",
         {Plu(1, 5), Plu(4, 5)},
         {Plu(1, 5), Plu(2, 5), Plu(9, 5)},
         1,
         {},
         {4},
         {2, 9}},
        {"a later row of the same number is the one loaded",
         {Plu(1, 5), Plu(1, 6)},
         {Plu(1, 6)},
         1,
         {},
         {},
         {}},
    };
    for (const Case& c : cases) {
        OnScale s;
        jobs::Observer quiet;
        Load(s, ListOf(c.held));
        const tables::Table list = ListOf(c.list);
        const jobs::CompareReport compared = jobs::RunCompare(s.link, list, quiet);
        ASSERT_TRUE(compared.comparison) << c.name;
        const jobs::Comparison& got = *compared.comparison;
        EXPECT_EQ(got.equal, c.equal) << c.name;
        std::vector<std::pair<int, int>> differing;
        for (const auto& record : got.differing) {
            for (const auto& field : record.fields) {
                differing.emplace_back(record.plu, field.column);
                EXPECT_EQ(field.list, list.Cell(field.column, record.row)) << c.name;
                for (const tables::Row& held : compared.records) {
                    if (jobs::RecordNumber(held) == record.plu) {
                        EXPECT_EQ(field.scale, held[field.column]) << c.name;
                    }
                }
            }
        }
        EXPECT_EQ(differing, c.differing) << c.name;
        std::vector<int> missing, extra;
        for (const auto& record : got.missing) missing.push_back(record.plu);
        for (const auto& record : got.onlyInScale) extra.push_back(jobs::RecordNumber(record));
        EXPECT_EQ(missing, c.missing) << c.name;
        EXPECT_EQ(extra, c.extra) << c.name;
        EXPECT_EQ(got.Same(), c.differing.empty() && c.missing.empty() && c.extra.empty());
    }
}

TEST(ChangedOnly, SendsTheRowsNotConfirmedAndTheChangedOnesAndLeavesTheScaleAsAFullLoadWould) {
    struct Case {
        const char* name;
        std::function<void(OnScale&, const tables::Table&)> before;
        std::function<void(tables::Table&)> edit;
        std::vector<int> sent;
    };
    auto full = [](OnScale& s, const tables::Table& t) { Load(s, t); };
    const Case cases[] = {
        {"after a full load, two prices and a name",
         full,
         [](tables::Table& t) {
             t.SetCell(tables::Column::Price, 2, "250");
             t.SetCell(tables::Column::Price, 5, "550");
             t.SetCell(tables::Column::Name1, 3, "Brie");
         },
         {2, 3, 5}},
        {"after a full load, a row of the same number after the changed one",
         full,
         [](tables::Table& t) {
             t.SetCell(tables::Column::Price, 3, "350");
             t.InsertRow(t.RowCount() - 1, Plu(3, 300));
         },
         {}},
        {"after a full load, trailing spaces only",
         full,
         [](tables::Table& t) { t.SetCell(tables::Column::Name1, 4, "Cheese    "); },
         {}},
        {"after a load stopped at row 3, and a change before it",
         [](OnScale& s, const tables::Table& t) { Load(s, t, nullptr, 3); },
         [](tables::Table& t) { t.SetCell(tables::Column::Tare, 1, "12"); },
         {1, 4, 5, 6}},
        {"after a load whose row 4 was refused",
         [](OnScale& s, const tables::Table& t) {
             sim::Fault refuse;
             refuse.kind = sim::Kind::PluDownload;
             refuse.number = 4;
             refuse.step = sim::Step::NumberCheck;
             refuse.action = sim::Action::Refuse;
             s.scale.Inject(refuse);
             Load(s, t);
         },
         nullptr,
         {4, 5, 6}},
    };
    for (const Case& c : cases) {
        OnScale s;
        tables::Table table = ListOf(List(6));
        c.before(s, table);
        if (c.edit) c.edit(table);
        const auto known = jobs::LoadKnown("COM2", scale::RowKind::Plu);
        ASSERT_TRUE(known) << c.name;
        const jobs::KnownCheck check = jobs::CheckKnown(s.link, *known);
        EXPECT_TRUE(check.holds && !check.failure) << c.name;
        const jobs::ChangePlan plan = jobs::PlanChanges(table, scale::RowKind::Plu, *known);
        EXPECT_EQ(plan.skipped, jobs::DataRows(table) - static_cast<int>(c.sent.size())) << c.name;
        s.scale.ClearReceived();
        Load(s, table, &plan.rows);
        EXPECT_EQ(DownloadedPlus(s), c.sent) << c.name;

        OnScale fresh;
        Load(fresh, table);
        EXPECT_EQ(s.scale.Plus(), fresh.scale.Plus()) << c.name;
    }
}

TEST(KnownCheck, CatchesAScaleChangedBehindTheProgramsBack) {
    struct Case {
        const char* name;
        std::function<void(sim::VirtualScale&)> meddle;
        bool holds;
    };
    auto price = [](int plu, int value) {
        return [plu, value](sim::VirtualScale& scale) {
            sim::PluRecord record = *scale.FindPlu(static_cast<std::uint16_t>(plu));
            record.price = value;
            scale.PutPlu(record);
        };
    };
    auto another = [](int plu) {
        sim::PluRecord record;
        record.plu = static_cast<std::uint16_t>(plu);
        record.name1 = sim::NameLineFromText("Other");
        return record;
    };
    const Case cases[] = {
        {"untouched", [](sim::VirtualScale&) {}, true},
        {"a record past the last known", [&](sim::VirtualScale& s) { s.PutPlu(another(40)); },
         true},
        {"a price keyed in at the first", price(1, 1), false},
        {"a price keyed in at the last", price(9, 1), false},
        {"a PLU keyed in among the known", [&](sim::VirtualScale& s) { s.PutPlu(another(0)); },
         false},
        {"another scale's list",
         [&](sim::VirtualScale& s) {
             s.ClearPlus();
             for (int plu = 1; plu <= 12; ++plu) s.PutPlu(another(plu));
         },
         false},
        {"a shorter list", [](sim::VirtualScale& s) { s.ClearPlus(); }, false},
    };
    for (const Case& c : cases) {
        OnScale s;
        Load(s, ListOf(List(9)));
        c.meddle(s.scale);
        s.scale.ClearReceived();
        const jobs::KnownCheck check =
            jobs::CheckKnown(s.link, *jobs::LoadKnown("COM2", scale::RowKind::Plu));
        EXPECT_EQ(check.holds, c.holds) << c.name;
        EXPECT_FALSE(check.failure) << c.name;
        if (c.holds) {
            std::vector<int> asked;
            for (const sim::Exchange& e : s.scale.Exchanges()) asked.push_back(e.number);
            EXPECT_EQ(asked, jobs::CheckPositions(9)) << c.name;
        }
    }

    OnScale silent;
    Load(silent, ListOf(List(3)));
    silent.scale.Inject({sim::Kind::Any, 0, 0, sim::Step::Ready, sim::Action::Silence});
    const jobs::KnownCheck check =
        jobs::CheckKnown(silent.link, *jobs::LoadKnown("COM2", scale::RowKind::Plu));
    EXPECT_FALSE(check.holds);
    ASSERT_TRUE(check.failure);
    EXPECT_EQ(check.failure->outcome, jobs::ExchangeOutcome{scale::UploadOutcome::U1});
    EXPECT_FALSE(jobs::CheckKnown(silent.link, {}).holds);
}

TEST(KnownCheck, AsksTheFirstTheLastKnownAndThreeBetween) {
    for (int known : {1, 2, 3, 5, 6, 9, 5000}) {
        const std::vector<int> positions = jobs::CheckPositions(known);
        ASSERT_EQ(positions.size(), static_cast<std::size_t>(std::min(known, 5))) << known;
        EXPECT_EQ(positions.front(), 1) << known;
        EXPECT_EQ(positions.back(), known) << known;
        EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()) &&
                    std::adjacent_find(positions.begin(), positions.end()) == positions.end())
            << known;
        // Spread: no gap between neighbours is more than twice another's.
        for (std::size_t i = 2; i < positions.size(); ++i)
            EXPECT_LE(positions[i] - positions[i - 1], 2 * (positions[1] - positions[0]) + 1)
                << known;
    }
    EXPECT_TRUE(jobs::CheckPositions(0).empty());
}

}  // namespace
