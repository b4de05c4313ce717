// The download and upload jobs against the virtual scale on a pseudo-terminal: what reaches the
// scale, what the observer hears, and the report.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Download.h"
#include "OnScale.h"
#include "Upload.h"

namespace {

// The job's events as text, and a stop asked for after a chosen row.
class Recorder : public jobs::Observer {
  public:
    int stopAfter = 0;
    std::vector<std::string> events;

    void RowStarting(int row, int) override { events.push_back("start " + std::to_string(row)); }
    void RowDone(int row, const tables::Row& cells) override {
        events.push_back("done " + std::to_string(row) + " " + cells[0]);
    }
    void RowFailed(const jobs::Failure& failure) override {
        events.push_back("failed " + std::to_string(failure.row));
    }
    void ListEnded(int request) override { events.push_back("end " + std::to_string(request)); }
    bool StopNow() override {
        events.push_back("stop?");
        return stopAfter != 0 && events.size() > 1 &&
               std::count(events.begin(), events.end(), "stop?") == stopAfter;
    }
};

tables::Table PluList(int rows) {
    tables::Table table;
    table.SetRowCount(rows + 2);
    for (int r = 1; r <= rows; ++r)
        table.SetRow(r, {std::to_string(r), "Cheese", "", "12345", "5", "0", "123", "1", "0"});
    tables::WriteEndMarker(table, rows + 1);
    return table;
}

sim::Fault At(int occurrence, sim::Step step, sim::Action action, sim::Kind kind) {
    sim::Fault fault;
    fault.kind = kind;
    fault.occurrence = occurrence;
    fault.step = step;
    fault.action = action;
    fault.byte = 0x15;
    fault.afterBytes = 10;
    return fault;
}

struct JobCase {
    const char* name;
    std::function<void(OnScale&, tables::Table&)> arrange;
    int stopAfter;
    int rowsDone;
    std::optional<int> failedRow;
    std::optional<jobs::ExchangeOutcome> outcome;  // none for a row that failed its check
    bool stopped;
    std::vector<std::string> events;
};

std::vector<int> StoredPlus(const sim::VirtualScale& scale) {
    std::vector<int> plus;
    for (const sim::PluRecord& r : scale.Plus()) plus.push_back(r.plu);
    return plus;
}

void ExpectReport(const JobCase& c, const jobs::Report& report, const Recorder& recorder) {
    EXPECT_EQ(report.rowsDone, c.rowsDone) << c.name;
    EXPECT_EQ(report.stopped, c.stopped) << c.name;
    EXPECT_EQ(report.failure.has_value(), c.failedRow.has_value()) << c.name;
    if (report.failure && c.failedRow) {
        EXPECT_EQ(report.failure->row, *c.failedRow) << c.name;
        EXPECT_EQ(report.failure->outcome, c.outcome) << c.name;
    }
    EXPECT_EQ(recorder.events, c.events) << c.name;
}

TEST(DownloadJob, SendsEachRowUntilAFailureOrAStop) {
    using sim::Action;
    using sim::Kind;
    using sim::Step;
    using E = std::vector<std::string>;
    const JobCase cases[] = {
        {"all rows", nullptr, 0, 3, std::nullopt, std::nullopt, false,
         E{"start 1", "done 1 1", "stop?", "start 2", "done 2 2", "stop?", "start 3", "done 3 3",
           "stop?"}},
        {"a bad cell at row 2 sends nothing of it",
         [](OnScale&, tables::Table& t) { t.SetCell(3, 2, "12,5"); }, 0, 1, 2, std::nullopt, false,
         E{"start 1", "done 1 1", "stop?", "start 2", "failed 2"}},
        {"a refused number at row 2",
         [](OnScale& s, tables::Table&) {
             s.scale.Inject(At(2, Step::NumberCheck, Action::Refuse, Kind::PluDownload));
         },
         0, 1, 2, jobs::ExchangeOutcome{scale::PluOutcome::T4}, false,
         E{"start 1", "done 1 1", "stop?", "start 2", "failed 2", "stop?"}},
        {"a stall inside row 2's closing",
         [](OnScale& s, tables::Table&) {
             s.scale.Inject(At(2, Step::Closing, Action::Silence, Kind::PluDownload));
         },
         0, 1, 2, jobs::ExchangeOutcome{scale::PluOutcome::Stalled}, false,
         E{"start 1", "done 1 1", "stop?", "start 2", "failed 2", "stop?"}},
        {"a stop between rows 2 and 3", nullptr, 2, 2, std::nullopt, std::nullopt, true,
         E{"start 1", "done 1 1", "stop?", "start 2", "done 2 2", "stop?"}},
    };
    for (const JobCase& c : cases) {
        OnScale s;
        tables::Table table = PluList(3);
        if (c.arrange) c.arrange(s, table);
        Recorder recorder;
        recorder.stopAfter = c.stopAfter;
        const jobs::Report report = jobs::RunDownload(s.link, table, scale::RowKind::Plu, recorder);
        ExpectReport(c, report, recorder);
        if (c.failedRow && !c.outcome) {
            EXPECT_EQ(report.failure->column, 3) << c.name;
        }
        // The scale stores a record before its closing byte, so a stall there keeps the row.
        const bool storedBeforeFailing =
            c.outcome == jobs::ExchangeOutcome{scale::PluOutcome::Stalled};
        std::vector<int> stored;
        for (int r = 1; r <= c.rowsDone + (storedBeforeFailing ? 1 : 0); ++r) stored.push_back(r);
        EXPECT_EQ(StoredPlus(s.scale), stored) << c.name;
    }
}

TEST(DownloadJob, SendsAMessageListRowByRow) {
    OnScale s;
    tables::Table table;
    table.SetRowCount(4);
    table.SetRow(1, {"7", "Line one"});
    table.SetRow(2, {"9", "", "Line two"});
    tables::WriteEndMarker(table, 3);
    Recorder recorder;
    const jobs::Report report = jobs::RunDownload(s.link, table, scale::RowKind::Message, recorder);
    EXPECT_EQ(report.rowsDone, 2);
    EXPECT_FALSE(report.failure);
    const std::optional<sim::Message> stored = s.scale.FindMessage(9);
    ASSERT_TRUE(stored);
    EXPECT_EQ(std::string(stored->lines[1].begin(), stored->lines[1].begin() + 8), "Line two");
    EXPECT_TRUE(s.scale.FindMessage(7));
}

TEST(UploadJob, ReadsEachRecordUntilTheListEndsAFailureOrAStop) {
    using sim::Action;
    using sim::Kind;
    using sim::Step;
    using E = std::vector<std::string>;
    const JobCase cases[] = {
        {"the whole list", nullptr, 0, 3, std::nullopt, std::nullopt, false,
         E{"start 1", "done 1 1", "stop?", "start 2", "done 2 2", "stop?", "start 3", "done 3 3",
           "stop?", "start 4", "end 4", "stop?"}},
        {"a refused command at request 2",
         [](OnScale& s, tables::Table&) {
             s.scale.Inject(At(2, Step::Accept, Action::Byte, Kind::PluUpload));
         },
         0, 1, 2, jobs::ExchangeOutcome{scale::UploadOutcome::U3}, false,
         E{"start 1", "done 1 1", "stop?", "start 2", "failed 2", "stop?"}},
        {"a stall inside record 2",
         [](OnScale& s, tables::Table&) {
             s.scale.Inject(At(2, Step::Record, Action::Stall, Kind::PluUpload));
         },
         0, 1, 2, jobs::ExchangeOutcome{scale::UploadOutcome::Stalled}, false,
         E{"start 1", "done 1 1", "stop?", "start 2", "failed 2", "stop?"}},
        {"a stop after record 2", nullptr, 2, 2, std::nullopt, std::nullopt, true,
         E{"start 1", "done 1 1", "stop?", "start 2", "done 2 2", "stop?"}},
    };
    for (const JobCase& c : cases) {
        OnScale s;
        for (std::uint16_t plu = 1; plu <= 3; ++plu) {
            sim::PluRecord record;
            record.plu = plu;
            s.scale.PutPlu(record);
        }
        tables::Table unused;
        if (c.arrange) c.arrange(s, unused);
        Recorder recorder;
        recorder.stopAfter = c.stopAfter;
        ExpectReport(c, jobs::RunUpload(s.link, recorder), recorder);
    }
}

}  // namespace
