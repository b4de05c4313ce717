#pragma once
// What the benchmarks that run qvscale-cli share: a monotonic clock, a list file, and one run of
// the command line measured from outside, its children's CPU apart from the benchmark's own.

#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

inline double Now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

inline double Seconds(const timeval& tv) {
    return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) / 1e6;
}

// A fresh folder for the run, the configuration and state folder too; empty when it cannot be
// made.
inline std::string BenchFolder() {
    char folder[] = "/tmp/qvscale-bench-XXXXXX";
    if (!mkdtemp(folder)) return {};
    setenv("XDG_CONFIG_HOME", folder, 1);
    setenv("XDG_STATE_HOME", folder, 1);
    return folder;
}

// A list file's row: number, two name lines, price, shelf life, tare, item code, group, message.
using ListRow = std::array<std::string, 9>;

// A PLU row of the benchmarks' lists, 81 bytes on the line for the PLU numbers they send.
inline ListRow CheeseRow(int plu, int price, const std::string& name2) {
    return {std::to_string(plu),
            "Cheese " + std::to_string(plu),
            name2,
            std::to_string(price),
            "5",
            "0",
            std::to_string(1000 + plu),
            "1",
            "0"};
}

// Writes the rows as a list file: a cell a line, CR LF, then the end marker.
template <typename Rows>
void WriteList(const std::string& path, const Rows& rows) {
    std::ofstream out(path, std::ios::binary);
    for (const auto& row : rows)
        for (const auto& cell : row) out << cell << "\r\n";
    out << "***\r\n";
}

struct CliRun {
    int exitCode = -1;  // -1 when it did not exit by itself
    double wall = 0;
    double cpu = 0;  // user and system
};

// Runs the program in argv[0] to its end. quiet: its standard output goes nowhere, so its
// summary does not break up the benchmark's own lines.
inline CliRun RunCli(std::vector<std::string> args, bool quiet = false) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    CliRun run;
    const double start = Now();
    const pid_t child = fork();
    if (child == 0) {
        if (quiet && !std::freopen("/dev/null", "w", stdout)) _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    run.wall = Now() - start;
    run.cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    return run;
}
