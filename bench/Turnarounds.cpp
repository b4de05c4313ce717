#include "Turnarounds.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

// A request, and a command byte the scale does not know: it answers the request and ends the
// exchange at the command, so every loop has one turnaround and no wait of the scale's own.
constexpr std::uint8_t kRequest = 0xA5;
constexpr std::uint8_t kUnknownCommand = 0xFF;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

class BarePeer {
  public:
    explicit BarePeer(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY)) {
        if (fd_ < 0) throw std::runtime_error("cannot open " + path);
        termios t{};
        tcgetattr(fd_, &t);
        cfmakeraw(&t);
        tcsetattr(fd_, TCSANOW, &t);
    }
    ~BarePeer() { close(fd_); }
    BarePeer(const BarePeer&) = delete;
    BarePeer& operator=(const BarePeer&) = delete;

    void Send(std::uint8_t byte) {
        if (write(fd_, &byte, 1) != 1) throw std::runtime_error("write");
    }
    void Take() {
        pollfd p{fd_, POLLIN, 0};
        std::uint8_t byte = 0;
        if (poll(&p, 1, 3000) <= 0 || read(fd_, &byte, 1) != 1)
            throw std::runtime_error("the scale did not answer");
    }

  private:
    int fd_;
};

}  // namespace

TurnaroundFigures FiguresOf(std::vector<Clock::duration> turnarounds) {
    TurnaroundFigures figures;
    figures.count = turnarounds.size();
    if (turnarounds.empty()) return figures;
    std::sort(turnarounds.begin(), turnarounds.end());
    figures.medianMs = Ms(turnarounds[turnarounds.size() / 2]);
    figures.p99Ms =
        Ms(turnarounds[std::min(turnarounds.size() - 1, turnarounds.size() * 99 / 100)]);
    return figures;
}

TurnaroundFigures BarePeerTurnarounds(int baud, int exchanges) {
    sim::Options options;
    options.baud = baud;
    sim::VirtualScale scale(options);
    BarePeer peer(scale.SlavePath());
    for (int i = 0; i < exchanges; ++i) {
        peer.Send(kRequest);
        peer.Take();
        peer.Send(kUnknownCommand);
        // The scale ends the exchange at the command; the next request must not meet it.
        if (!scale.WaitExchanges(static_cast<std::size_t>(i) + 1, std::chrono::seconds(3)))
            throw std::runtime_error("the scale did not end the exchange");
    }
    return FiguresOf(scale.Turnarounds());
}

std::string TurnaroundText(const TurnaroundFigures& program, const TurnaroundFigures& bare) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "turnaround median %.3f ms, 99th percentile %.3f ms over %zu steps (a bare "
                  "peer: %.3f / %.3f ms; the program's part at the median: %.3f ms)",
                  program.medianMs, program.p99Ms, program.count, bare.medianMs, bare.p99Ms,
                  program.medianMs - bare.medianMs);
    return text;
}
