#include "Trace.h"

#include <cstdio>

namespace sim {

std::string Trace::Stamp(Clock::time_point at) const {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%12.6f", std::chrono::duration<double>(at - start_).count());
    return buf;
}

void Trace::Step(Clock::time_point at, Direction dir, const std::string& what,
                 const Bytes& bytes) const {
    if (!out_) return;
    std::string line =
        Stamp(at) + (dir == Direction::FromPc ? " PC    -> " : " scale -> ") + what + ":";
    char hex[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
    }
    *out_ << line + "\n" << std::flush;
}

void Trace::Note(const std::string& text) const {
    if (out_) *out_ << Stamp(Clock::now()) + " " + text + "\n" << std::flush;
}

}  // namespace sim
