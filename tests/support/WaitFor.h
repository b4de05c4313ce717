#pragma once
// The tests' one bounded wait for a condition: a test that waits can fail, never hang.

#include <chrono>
#include <thread>

#include "Deadline.h"

// True once holds() is; false when boundMs pass first, or when between() says nothing more can
// change. between() runs after each check that failed: a wait for input, a pass of the event
// loop; by default a short sleep.
template <typename Holds, typename Between>
bool WaitFor(Holds holds, int boundMs, Between between) {
    const serial::Deadline deadline(boundMs);
    for (;;) {
        if (holds()) return true;
        if (deadline.Expired() || !between()) return false;
    }
}

template <typename Holds>
bool WaitFor(Holds holds, int boundMs) {
    return WaitFor(holds, boundMs, [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return true;
    });
}
