#pragma once
// The byte trace: one line per exchange step, time-stamped from the scale's start.

#include <ostream>
#include <string>

#include "Line.h"
#include "Records.h"

namespace sim {

enum class Direction { FromPc, ToPc };

class Trace {
  public:
    Trace(std::ostream* out, Clock::time_point start) : out_(out), start_(start) {}
    bool On() const { return out_ != nullptr; }
    // `at` is when the step's first byte moved.
    void Step(Clock::time_point at, Direction dir, const std::string& what,
              const Bytes& bytes) const;
    void Note(const std::string& text) const;

  private:
    std::string Stamp(Clock::time_point at) const;

    std::ostream* out_;
    Clock::time_point start_;
};

}  // namespace sim
