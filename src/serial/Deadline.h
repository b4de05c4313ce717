#pragma once
// A point on the monotonic clock that a wait must not pass. Every bounded wait of serial and
// scale counts down on one; the time points are parameters so tests need not wait.

#include <algorithm>
#include <chrono>
#include <thread>

namespace serial {

class Deadline {
  public:
    using Clock = std::chrono::steady_clock;

    explicit Deadline(int ms, Clock::time_point start = Clock::now())
        : end_(start + std::chrono::milliseconds(ms)) {}

    // Whole milliseconds left, rounded up so that a wait for them never ends before the
    // deadline; 0 once it has passed.
    int RemainingMs(Clock::time_point now = Clock::now()) const {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end_ - now);
        return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
    }

    bool Expired(Clock::time_point now = Clock::now()) const { return now >= end_; }

  private:
    Clock::time_point end_;
};

// The clock a bounded wait reads and the sleeps it takes between looks. Tests give one that
// moves only when slept on, so a bound is proved without waiting it out.
class Ticker {
  public:
    virtual ~Ticker() = default;
    virtual Deadline::Clock::time_point Now() { return Deadline::Clock::now(); }
    virtual void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

inline Ticker& SteadyTicker() {
    static Ticker ticker;
    return ticker;
}

}  // namespace serial
