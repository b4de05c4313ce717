// What a USB adapter's latency timer costs the paced PLU download: 200 rows at 9600 baud through
// qvscale-cli, with the scale's answers held 0 ms (a plain UART), 1 ms (an FTDI adapter asked
// for low latency) and 16 ms (its default), each as a multiple of the rows' line time.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "CliRun.h"
#include "VirtualScale.h"

namespace {

constexpr int kRows = 200;
constexpr int kBaud = 9600;
constexpr double kRowBytes = 81.0;

// The download's wall time in seconds, or a negative number when not every row arrived.
double Download(int latencyMs, const std::string& list) {
    sim::Options options;
    options.link = "COM2";
    options.baud = kBaud;
    options.usbLatency = std::chrono::milliseconds(latencyMs);
    sim::VirtualScale scale(options);
    const CliRun run = RunCli({QVSCALE_CLI, "download", "--port", "COM2", list}, true);
    const bool all = run.exitCode == 0 && scale.Plus().size() == kRows;
    return all ? run.wall : -1;
}

}  // namespace

int main() {
    const std::string dir = BenchFolder();
    if (dir.empty()) return 2;
    std::vector<ListRow> rows;
    for (int n = 1; n <= kRows; ++n) rows.push_back(CheeseRow(n, 100 * n, ""));
    const std::string list = dir + "/list.plu";
    WriteList(list, rows);
    const double lineTime = kRows * kRowBytes * 10.0 / kBaud;
    bool all = true;
    for (int latencyMs : {0, 1, 16}) {
        const double wall = Download(latencyMs, list);
        all = all && wall > 0;
        std::printf(
            "USB latency %2d ms, %d PLU rows at %d baud: %.2f s for %.2f s of line time "
            "(%.3f times)\n",
            latencyMs, kRows, kBaud, wall, lineTime, wall / lineTime);
        std::fflush(stdout);
    }
    std::filesystem::remove_all(dir);
    if (!all) {
        std::fprintf(stderr, "the scale did not get every row\n");
        return 2;
    }
    return 0;
}
