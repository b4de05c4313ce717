// What a USB adapter's latency timer costs the paced PLU download: 200 rows at 9600 baud through
// qvscale-cli, with the scale's answers held 0 ms (a plain UART), 1 ms (an FTDI adapter asked
// for low latency) and 16 ms (its default), each as a multiple of the rows' line time.

#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "VirtualScale.h"

namespace {

constexpr int kRows = 200;
constexpr int kBaud = 9600;
constexpr double kRowBytes = 81.0;

double Now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
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

// The download's wall time in seconds, or a negative number when not every row arrived.
double Download(int latencyMs, const std::string& list) {
    sim::Options options;
    options.link = "COM2";
    options.baud = kBaud;
    options.usbLatency = std::chrono::milliseconds(latencyMs);
    sim::VirtualScale scale(options);
    std::vector<std::string> args = {QVSCALE_CLI, "download", "--port", "COM2", list};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const double start = Now();
    const pid_t child = fork();
    if (child == 0) {
        // Its summary line would break up the benchmark's own.
        if (!std::freopen("/dev/null", "w", stdout)) _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const double wall = Now() - start;
    const bool all = WIFEXITED(status) && WEXITSTATUS(status) == 0 && scale.Plus().size() == kRows;
    return all ? wall : -1;
}

}  // namespace

int main() {
    char folder[] = "/tmp/qvscale-bench-XXXXXX";
    if (!mkdtemp(folder)) return 2;
    const std::string dir = folder;
    setenv("XDG_CONFIG_HOME", folder, 1);
    setenv("XDG_STATE_HOME", folder, 1);
    const std::string list = WriteList(dir);
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
