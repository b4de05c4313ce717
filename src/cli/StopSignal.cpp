#include "StopSignal.h"

#include <atomic>
#include <csignal>

namespace cli {

namespace {
std::atomic<bool> stop{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void OnStopSignal(int) {
    stop.store(true);
}
}  // namespace

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a wait that is interrupted ends early and the run sees the stop sooner.
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() {
    return stop.load();
}

void ClearStop() {
    stop.store(false);
}

void RequestStop() {
    stop.store(true);
}

}  // namespace cli
