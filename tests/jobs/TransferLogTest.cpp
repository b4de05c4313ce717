// The transfer log's lines, its rotation, and a log that cannot be written.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TempConfig.h"
#include "TransferLog.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Local time with its zone, as "2026-12-08 10:24:31 +0300 ": digits where the mask has 'd'.
bool IsStamp(const std::string& text) {
    const std::string mask = "dddd-dd-dd dd:dd:dd sdddd ";
    if (text.size() != mask.size()) return false;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const char c = text[i];
        const bool fits = mask[i] == 'd'   ? std::isdigit(static_cast<unsigned char>(c)) != 0
                          : mask[i] == 's' ? c == '+' || c == '-'
                                           : c == mask[i];
        if (!fits) return false;
    }
    return true;
}

// The lines of a log without their stamps; "<no stamp>" for a line that lacks one.
std::vector<std::string> Unstamped(const std::string& log) {
    std::vector<std::string> lines;
    std::istringstream in(log);
    const std::size_t stamp = std::string("2026-12-08 10:24:31 +0300 ").size();
    for (std::string line; std::getline(in, line);)
        lines.push_back(IsStamp(line.substr(0, stamp)) ? line.substr(stamp) : "<no stamp>");
    return lines;
}

jobs::Report ReportOf(int rowsDone, std::optional<jobs::Failure> failure, bool stopped) {
    jobs::Report report;
    report.rowsDone = rowsDone;
    report.failure = std::move(failure);
    report.stopped = stopped;
    report.duration = std::chrono::milliseconds(1204);
    return report;
}

TEST(TransferLog, ARunWritesItsLineAndAFailedRowItsOwn) {
    // COM2 has no link in the test's port map folder, so it stands for /dev/ttyS1.
    const std::string port = "COM2 /dev/ttyS1 ";
    const jobs::Failure t4{4, scale::RowProblem::None, -1, scale::PluOutcome::T4};
    const jobs::Failure badPrice{2, scale::RowProblem::BadCell, 3, std::nullopt};
    const jobs::Failure stall{5, scale::RowProblem::None, -1, scale::UploadOutcome::Stalled};
    struct Case {
        const char* name;
        jobs::RunKind kind;
        jobs::Report report;
        int rows;
        std::vector<std::string> lines;  // after the stamp
    };
    const Case cases[] = {
        {"all sent",
         jobs::RunKind::PluDownload,
         ReportOf(5, std::nullopt, false),
         5,
         {"plu-download rows 5/5 ok 1.204s"}},
        {"a refused number",
         jobs::RunKind::PluDownload,
         ReportOf(3, t4, false),
         5,
         {"plu-download rows 3/5 T4 1.204s", "plu-download row 4 T4"}},
        {"a bad price",
         jobs::RunKind::MsgDownload,
         ReportOf(1, badPrice, false),
         5,
         {"msg-download rows 1/5 bad-cell column 4 1.204s",
          "msg-download row 2 bad-cell column 4"}},
        {"a stall in an upload",
         jobs::RunKind::PluUpload,
         ReportOf(4, stall, false),
         0,
         {"plu-upload rows 4/? stalled 1.204s", "plu-upload row 5 stalled"}},
        {"a stop after a failure",
         jobs::RunKind::PluDownload,
         ReportOf(3, t4, true),
         5,
         {"plu-download rows 3/5 stopped 1.204s"}},
    };
    for (const Case& c : cases) {
        TempConfig config;
        jobs::TransferLog log;
        log.Write({"COM2", c.kind, c.report.rowsDone, c.rows, jobs::OutcomeName(c.report),
                   c.report.duration},
                  c.report);
        std::vector<std::string> expected;
        for (const std::string& line : c.lines) expected.push_back(port + line);
        const std::string written = Read(config.Dir() + "/qvscale/transfers.log");
        EXPECT_EQ(Unstamped(written), expected) << c.name;
        EXPECT_EQ(written.back(), '\n') << c.name;
        EXPECT_EQ(log.ReadAll(), written) << c.name;
        EXPECT_EQ(log.WriteFailure(), "") << c.name;
    }
}

TEST(TransferLog, AFullLogRotatesKeepingThreeOldFiles) {
    TempConfig config;
    jobs::TransferLog log;
    const std::string path = log.Path();
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << std::string(jobs::TransferLog::kRotateBytes, 'x');
    for (int n = 1; n <= 3; ++n)
        std::ofstream(path + "." + std::to_string(n)) << "old " << n << "\n";
    log.Write({"COM2", jobs::RunKind::Readout, 1, 1, "ok", std::chrono::milliseconds(20)});
    EXPECT_EQ(Read(path + ".1").size(), jobs::TransferLog::kRotateBytes);
    EXPECT_EQ(Read(path + ".2"), "old 1\n");
    EXPECT_EQ(Read(path + ".3"), "old 2\n");
    EXPECT_FALSE(fs::exists(path + ".4"));
    EXPECT_NE(Read(path).find("readout rows 1/1 ok 0.020s"), std::string::npos);
    // Newest at the end.
    EXPECT_EQ(log.ReadAll().substr(0, 6), "old 2\n");
    EXPECT_EQ(log.ReadAll().back(), '\n');
}

TEST(TransferLog, ALogThatCannotBeWrittenSaysSoOnceAndGoesOn) {
    TempConfig config;
    // The state folder's place is taken by a file, so no log can be made under it.
    const std::string blocked = config.Dir() + "/blocked";
    std::ofstream(blocked) << "a file";
    jobs::TransferLog log(blocked + "/qvscale/transfers.log");
    log.Write({"COM2", jobs::RunKind::Readout, 0, 1, "no-answer", std::chrono::milliseconds(500)});
    const std::string first = log.WriteFailure();
    EXPECT_NE(first.find("Журнал обмена не записывается"), std::string::npos) << first;
    log.Write({"COM2", jobs::RunKind::Readout, 1, 1, "ok", std::chrono::milliseconds(20)});
    EXPECT_EQ(log.WriteFailure(), first);
    EXPECT_EQ(log.ReadAll(), "");
}

}  // namespace
