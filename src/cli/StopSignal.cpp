#include "StopSignal.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

namespace cli {

namespace {
std::atomic<bool> stop{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");
// Set before the handler is installed and never changed after.
int wakeFds[2] = {-1, -1};

extern "C" void OnStopSignal(int) {
    stop.store(true);
    const int saved = errno;
    if (wakeFds[1] >= 0) {
        const ssize_t ignored = ::write(wakeFds[1], "s", 1);
        (void)ignored;  // a full pipe is already readable
    }
    errno = saved;
}
}  // namespace

void CatchStopSignals() {
    // Without the pipe (no descriptors left) waits still end on EINTR, only less surely.
    if (wakeFds[0] < 0 && ::pipe2(wakeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        wakeFds[0] = wakeFds[1] = -1;
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

int StopWakeFd() {
    return wakeFds[0];
}

}  // namespace cli
