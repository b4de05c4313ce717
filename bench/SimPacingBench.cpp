// The virtual scale's paced line against 9600 baud: 10 bits a byte, 960 bytes a second each way.
// Reports bytes per second over a run of back-to-back bytes and its deviation from 960 (the
// target is within 5%).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "VirtualScale.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kLineRate = 960.0;

class Pc {
  public:
    explicit Pc(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY)) {
        termios t{};
        tcgetattr(fd_, &t);
        cfmakeraw(&t);
        tcsetattr(fd_, TCSANOW, &t);
    }
    ~Pc() { close(fd_); }
    void Send(const sim::Bytes& b) {
        if (write(fd_, b.data(), b.size()) != ssize_t(b.size())) throw std::runtime_error("write");
    }
    // Reads n bytes; returns the time the first and the last of them arrived.
    std::pair<Clock::time_point, Clock::time_point> Read(std::size_t n) {
        Clock::time_point first{}, last{};
        for (std::size_t got = 0; got < n;) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 3000) <= 0) throw std::runtime_error("scale silent");
            std::uint8_t buf[256];
            const ssize_t r = read(fd_, buf, std::min(sizeof buf, n - got));
            if (r <= 0) throw std::runtime_error("read");
            last = Clock::now();
            if (got == 0) first = last;
            got += std::size_t(r);
        }
        return {first, last};
    }

  private:
    int fd_;
};

struct PacedScale {
    PacedScale() : scale(Paced()), pc(scale.SlavePath()) {
        sim::PluRecord r;
        r.plu = 1;
        scale.PutPlu(r);
    }
    static sim::Options Paced() {
        sim::Options o;
        o.baud = 9600;
        return o;
    }
    sim::VirtualScale scale;
    Pc pc;
};

void Report(benchmark::State& state, double bytes, double seconds) {
    const double rate = bytes / seconds;
    state.counters["bytes_per_s"] = rate;
    state.counters["deviation_pct"] = 100.0 * (rate - kLineRate) / kLineRate;
}

// Scale to PC: the 77 bytes after the request number come back to back; from the first to the
// last arrival 76 byte times pass.
void BM_PacedUploadRecord(benchmark::State& state) {
    PacedScale s;
    double bytes = 0, seconds = 0;
    for (auto _ : state) {
        s.pc.Send({0xA5});
        s.pc.Read(1);
        s.pc.Send({0x05});
        s.pc.Read(1);
        s.pc.Send({0x00, 0x01});
        const auto [first, last] = s.pc.Read(77);
        const double t = std::chrono::duration<double>(last - first).count();
        state.SetIterationTime(t);
        bytes += 76;
        seconds += t;
    }
    Report(state, bytes, seconds);
}
BENCHMARK(BM_PacedUploadRecord)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

// PC to scale: the 72 record bytes of a download written at once; the scale takes 72 byte times
// to receive them and one more to send its closing byte.
void BM_PacedDownloadRecord(benchmark::State& state) {
    PacedScale s;
    double bytes = 0, seconds = 0;
    for (auto _ : state) {
        s.pc.Send({0xA5});
        s.pc.Read(1);
        s.pc.Send({0x02});
        s.pc.Read(1);
        s.pc.Send({0x00, 0x01});
        s.pc.Read(2);
        const auto start = Clock::now();
        s.pc.Send(sim::Bytes(72, 0x20));
        const auto closing = s.pc.Read(1).second;
        const double t = std::chrono::duration<double>(closing - start).count();
        state.SetIterationTime(t);
        bytes += 73;
        seconds += t;
    }
    Report(state, bytes, seconds);
}
BENCHMARK(BM_PacedDownloadRecord)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
