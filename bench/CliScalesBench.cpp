// qvscale-cli loading the same list into four virtual scales at once.
// Targets: paced at 9600 baud, 200 PLU rows each, the wall time at most 1.05 times one scale's
// line time (81 bytes a row), and the command line's CPU under 2% of a core per scale.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "CliRun.h"
#include "Turnarounds.h"
#include "VirtualScale.h"

namespace {

constexpr int kScales = 4;
constexpr int kRows = 200;
constexpr int kBaud = 9600;
constexpr double kRowBytes = 81.0;

}  // namespace

int main() {
    const std::string dir = BenchFolder();
    if (dir.empty()) return 2;
    std::vector<std::unique_ptr<sim::VirtualScale>> scales;
    std::vector<std::string> args = {QVSCALE_CLI, "download"};
    for (int i = 0; i < kScales; ++i) {
        sim::Options options;
        options.link = "COM" + std::to_string(i + 2);
        options.baud = kBaud;
        scales.push_back(std::make_unique<sim::VirtualScale>(options));
        args.insert(args.end(), {"--port", options.link});
    }
    std::vector<ListRow> rows;
    for (int n = 1; n <= kRows; ++n) rows.push_back(CheeseRow(n, 100 * n, ""));
    args.push_back(dir + "/list.plu");
    WriteList(args.back(), rows);

    const CliRun run = RunCli(args);
    const double wall = run.wall;
    const double cpu = run.cpu;

    bool all = run.exitCode == 0;
    std::vector<std::chrono::steady_clock::duration> turnarounds;
    for (const auto& scale : scales) {
        all = all && scale->Plus().size() == kRows;
        const auto own = scale->Turnarounds();
        turnarounds.insert(turnarounds.end(), own.begin(), own.end());
    }
    scales.clear();
    std::filesystem::remove_all(dir);

    const double lineTime = kRows * kRowBytes * 10.0 / kBaud;
    const double ratio = wall / lineTime;
    const double perScale = 100.0 * cpu / wall / kScales;
    std::printf(
        "%d scales at once, %d PLU rows each at %d baud: %.2f s for %.2f s of one scale's line "
        "time (%.3f times, target at most 1.05); command line CPU %.3f s, %.2f%% of a core per "
        "scale (target under 2%%)\n",
        kScales, kRows, kBaud, wall, lineTime, ratio, cpu, perScale);
    std::printf("%s\n", TurnaroundText(FiguresOf(turnarounds), BarePeerTurnarounds(kBaud)).c_str());
    if (!all) {
        std::fprintf(stderr, "not every scale got every row\n");
        return 2;
    }
    return ratio <= 1.05 && perScale < 2.0 ? 0 : 1;
}
