// CPU used by a readout while it waits out its 500 ms on a line where nobody answers.
// Target: under 5% of one core during the wait.

#include <fcntl.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "Exchanges.h"
#include "MyCom.h"
#include "PortMap.h"

namespace {

double Seconds(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// A pseudo-terminal whose slave is COM2 in a port map folder of its own; the master end
// stays open and silent.
class SilentLine {
  public:
    SilentLine() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qvscale-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        dir_ = pattern;
        setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
        std::filesystem::create_directories(serial::PortMapDir());
        std::filesystem::create_symlink(ptsname(master_), serial::PortMapDir() + "/COM2");
    }
    ~SilentLine() {
        close(master_);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    SilentLine(const SilentLine&) = delete;
    SilentLine& operator=(const SilentLine&) = delete;

  private:
    int master_ = -1;
    std::string dir_;
};

}  // namespace

int main() {
    SilentLine line;
    TComm comm;
    comm.Port = COM2;
    comm.Connect();
    scale::Link link{comm, scale::SystemClock()};

    constexpr int kReadouts = 6;
    const double wall0 = Seconds(CLOCK_MONOTONIC);
    const double cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    for (int i = 0; i < kReadouts; ++i) {
        scale::DisplayReading reading;
        if (scale::ReadDisplay(link, reading) != scale::ReadoutOutcome::NoAnswer) {
            std::fprintf(stderr, "the silent line answered\n");
            return 2;
        }
    }
    const double wall = Seconds(CLOCK_MONOTONIC) - wall0;
    const double cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
    const double share = 100.0 * cpu / wall;
    std::printf(
        "readout wait on a silent line: %d readouts, %.0f ms wall, %.2f ms CPU, "
        "%.2f%% of one core (target under 5%%)\n",
        kReadouts, wall * 1000, cpu * 1000, share);
    return share < 5.0 ? 0 : 1;
}
