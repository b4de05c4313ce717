// Each port's last run, read back from lines the transfer log itself wrote, with lines around
// them that are not runs.

#include <gtest/gtest.h>

#include <fstream>

#include "LastRuns.h"
#include "TempConfig.h"
#include "TransferLog.h"

namespace {

struct Expected {
    std::string port;
    std::string kind;
    int rowsDone;
    int rows;
    std::string outcome;
    int skipped;
};

struct LastRunCase {
    const char* name;
    std::vector<jobs::RunLine> runs;
    jobs::Report lastReport;  // written with the last run: a failed row adds its own line
    std::string extra;        // appended to the log afterwards, raw
    std::vector<Expected> expected;
};

jobs::Report FailedAt(int row) {
    jobs::Report report;
    report.failure = jobs::Failure{row, scale::RowProblem::None, -1, scale::PluOutcome::T4};
    return report;
}

TEST(LastRunsTest, EachPortKeepsItsLatestRunLine) {
    using jobs::RunKind;
    const std::vector<LastRunCase> cases = {
        {"later line wins",
         {{"COM2", RunKind::PluDownload, 5, 5, "ok", std::chrono::milliseconds(420), -1},
          {"COM2", RunKind::Readout, 1, 1, "ok", std::chrono::milliseconds(30), -1}},
         {},
         "",
         {{"COM2", "readout", 1, 1, "ok", -1}}},
        {"ports apart, skipped kept",
         {{"COM2", RunKind::PluDownload, 3, 3, "ok", std::chrono::milliseconds(10), 97},
          {"COM3", RunKind::MsgDownload, 0, 4, "F1", std::chrono::milliseconds(10), -1}},
         {},
         "",
         {{"COM2", "plu-download", 3, 3, "ok", 97}, {"COM3", "msg-download", 0, 4, "F1", -1}}},
        {"a failed row's own line is no run",
         {{"COM4", RunKind::PluDownload, 3, 5, "T4", std::chrono::milliseconds(10), -1}},
         FailedAt(4),
         "",
         {{"COM4", "plu-download", 3, 5, "T4", -1}}},
        {"an upload's unknown count",
         {{"COM5", RunKind::PluUpload, 12, 0, "ok", std::chrono::milliseconds(10), -1}},
         {},
         "",
         {{"COM5", "plu-upload", 12, 0, "ok", -1}}},
        {"damaged lines after it are passed over",
         {{"COM2", RunKind::PluDownload, 2, 2, "ok", std::chrono::milliseconds(10), -1}},
         {},
         "2026-12-09 08:00:00 +0300 COM2 /dev/pts/1 plu-download rows x/2 T1 1.000s\n"
         "2026-12-09 08:00:00 +0300 COM2 /dev/pts/1 plu-download rows 1/2 T1 1.000s skipped\n"
         "2026-12-09 08:00:00 +0300 COM2 /dev/pts/1 plu-download rows 1/2 T1 1.000\n"
         "garbage\n\n",
         {{"COM2", "plu-download", 2, 2, "ok", -1}}},
    };
    for (const LastRunCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempConfig config;
        jobs::TransferLog log(config.Dir() + "/transfers.log");
        for (std::size_t i = 0; i < c.runs.size(); ++i) {
            if (i + 1 == c.runs.size())
                log.Write(c.runs[i], c.lastReport);
            else
                log.Write(c.runs[i]);
        }
        {
            std::ofstream out(log.Path(), std::ios::app);
            out << c.extra;
        }
        const auto last = jobs::LastRunsByPort(log.ReadAll());
        ASSERT_EQ(last.size(), c.expected.size());
        for (const Expected& e : c.expected) {
            const auto found = last.find(e.port);
            ASSERT_NE(found, last.end()) << e.port;
            const jobs::LastRun& run = found->second;
            EXPECT_EQ(run.kind, e.kind);
            EXPECT_EQ(run.rowsDone, e.rowsDone);
            EXPECT_EQ(run.rows, e.rows);
            EXPECT_EQ(run.outcome, e.outcome);
            EXPECT_EQ(run.skipped, e.skipped);
            EXPECT_EQ(run.when.size(), std::string("2026-12-08 10:24:31 +0300").size());
        }
    }
}

}  // namespace
