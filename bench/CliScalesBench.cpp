// qvscale-cli loading the same list into four virtual scales at once.
// Targets: paced at 9600 baud, 200 PLU rows each, the wall time at most 1.05 times one scale's
// line time (81 bytes a row), and the command line's CPU under 2% of a core per scale.

#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "VirtualScale.h"

namespace {

constexpr int kScales = 4;
constexpr int kRows = 200;
constexpr int kBaud = 9600;
constexpr double kRowBytes = 81.0;

double Now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double Seconds(const timeval& tv) {
    return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) / 1e6;
}

std::string WriteList(const std::string& dir) {
    const std::string path = dir + "/list.plu";
    std::ofstream out(path, std::ios::binary);
    for (int n = 1; n <= kRows; ++n)
        out << n << "\r\nCheese " << n << "\r\n\r\n"
            << 100 * n << "\r\n5\r\n0\r\n"
            << 1000 + n << "\r\n1\r\n0\r\n";
    out << "***\r\n";
    return path;
}

}  // namespace

int main() {
    char folder[] = "/tmp/qvscale-bench-XXXXXX";
    if (!mkdtemp(folder)) return 2;
    const std::string dir = folder;
    setenv("XDG_CONFIG_HOME", folder, 1);
    setenv("XDG_STATE_HOME", folder, 1);
    std::vector<std::unique_ptr<sim::VirtualScale>> scales;
    std::vector<std::string> args = {QVSCALE_CLI, "download"};
    for (int i = 0; i < kScales; ++i) {
        sim::Options options;
        options.link = "COM" + std::to_string(i + 2);
        options.baud = kBaud;
        scales.push_back(std::make_unique<sim::VirtualScale>(options));
        args.insert(args.end(), {"--port", options.link});
    }
    args.push_back(WriteList(dir));
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    const double start = Now();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double wall = Now() - start;
    const double cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);

    bool all = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    for (const auto& scale : scales) all = all && scale->Plus().size() == kRows;
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
    if (!all) {
        std::fprintf(stderr, "not every scale got every row\n");
        return 2;
    }
    return ratio <= 1.05 && perScale < 2.0 ? 0 : 1;
}
