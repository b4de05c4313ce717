#pragma once
// What the scale's thread and its owner share; every member is guarded by `mutex`.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "Exchange.h"
#include "Fault.h"
#include "Records.h"

namespace sim {

using ExchangeHook = std::function<void(const ExchangeStart&)>;

struct ScaleState {
    mutable std::mutex mutex;
    mutable std::condition_variable
        changed;  // notified on every byte received, exchange ended and return to listening

    Display display;
    int capacity = kMaxPluNumber;
    std::map<std::uint16_t, PluRecord> plus;
    std::map<std::uint16_t, Message> messages;
    FaultBook faults;
    ExchangeHook hook;

    Bytes received;
    std::vector<Exchange> exchanges;
    std::vector<std::chrono::steady_clock::duration> turnarounds;
    bool hungUp = false;
    bool running = true;
    // Waiting for a request, every earlier exchange ended and its input skipped.
    bool listening = false;
};

}  // namespace sim
