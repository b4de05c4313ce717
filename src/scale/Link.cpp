#include "Link.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "Deadline.h"

namespace scale {

namespace {

class LocalTimeClock : public Clock {
  public:
    // Time zones are whole minutes away from UTC, so the millisecond field is the same.
    int Millisecond() override {
        using namespace std::chrono;
        const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
        return static_cast<int>(ms.count() % 1000);
    }
};

}  // namespace

Clock& SystemClock() {
    static LocalTimeClock clock;
    return clock;
}

// A hung-up line keeps reporting its last count while reads give nothing, so reading stops
// at the first read that comes back empty instead of costing a read time-out per byte.
void NewQue(TComm& comm) {
    if (comm.InQue() == 0) return;
    std::int32_t waiting = comm.InQue();
    std::string discarded;
    while (waiting > 0) {
        comm.GetString(std::min<std::int32_t>(waiting, TComm::kQueueSize), discarded);
        if (discarded.empty()) return;
        waiting -= static_cast<std::int32_t>(discarded.size());
    }
}

// Timed on the clock's millisecond field, not a Deadline, so that its one roll-over rule holds.
bool WaitReply(Link& link) {
    const int t0 = link.clock.Millisecond();
    for (;;) {
        int t = link.clock.Millisecond();
        if (t < t0) t += 1000;
        const int elapsed = t - t0;
        if (elapsed >= kReplyTimeoutMs) return false;
        if (link.comm.InQue() != 0) return true;
        // A byte that comes during this sleep is taken only after the next clock check.
        link.comm.WaitInput(std::min(kReplyTimeoutMs - elapsed, kReplyPollMs));
    }
}

HandshakeResult Handshake(Link& link) {
    NewQue(link.comm);
    link.comm.SendByte(kRequestByte);
    if (!WaitReply(link)) return HandshakeResult::NoAnswer;
    return link.comm.GetByte() == kReadyByte ? HandshakeResult::Ready : HandshakeResult::Refused;
}

// Division and remainder truncate toward zero, so a negative number sends the low bits of
// negative parts: -1 goes out as 00 FF, not FF FF.
void SendWord(TComm& comm, std::int32_t n) {
    comm.SendByte(static_cast<std::uint8_t>(n / 256));
    comm.SendByte(static_cast<std::uint8_t>(n % 256));
}

void SendLong(TComm& comm, std::int32_t n) {
    std::uint8_t bytes[4];
    for (int i = 3; i > 0; --i) {
        bytes[i] = static_cast<std::uint8_t>(n % 256);
        n /= 256;
    }
    bytes[0] = static_cast<std::uint8_t>(n);
    for (std::uint8_t b : bytes) comm.SendByte(b);
}

namespace {

// Start, stop and parity bits at their most, so the bound is never shorter than the line.
constexpr std::int64_t kMostBitsPerByte = 12;
// The fastest framing a byte can have: start, eight data bits, stop.
constexpr std::int64_t kFewestBitsPerByte = 10;
// Long enough not to spin, short enough to start the read soon after the last byte left.
constexpr int kDrainPollMs = 1;

// Whole milliseconds that `bytes` bytes of bitsPerByte take on the line, rounded down.
int LineTimeMs(std::int64_t bytes, std::int64_t bitsPerByte, TBaud baud) {
    return static_cast<int>(bytes * bitsPerByte * 1000 /
                            std::max<std::uint32_t>(BaudRateOf(baud), 1));
}

// Waits until the output queue is empty, at most the line time of what was queued plus
// link.drainMarginMs.
void AwaitOutputDrained(Link& link) {
    const std::int32_t queued = link.comm.OutQue();
    if (queued <= 0) return;
    const serial::Deadline deadline(
        LineTimeMs(queued, kMostBitsPerByte, link.comm.Baud) + 1 + link.drainMarginMs,
        link.ticker.Now());
    while (link.comm.OutQue() > 0) {
        const int left = deadline.RemainingMs(link.ticker.Now());
        if (left == 0) return;
        link.ticker.SleepMs(std::min(left, kDrainPollMs));
    }
}

// Takes up to what is still missing of `count` bytes from the input and says how many came.
// GetByte cannot tell a 0x00 from nothing, and a hung-up line keeps its last count, so bytes
// are read as a string: an empty one is no byte.
std::size_t TakeWaitingBytes(Link& link, std::size_t count, std::string& bytes) {
    const std::int32_t waiting = link.comm.InQue();
    if (waiting <= 0) return 0;
    std::string got;
    link.comm.GetString(
        static_cast<std::int32_t>(std::min<std::size_t>(count - bytes.size(), waiting)), got);
    bytes += got;
    return got.size();
}

// A wake-up that found a single byte means the bytes trickle in at the line's pace. Sleeping
// out the shortest line time of the rest then costs one wake-up instead of one a byte, which on
// a slow line was most of a transfer's CPU; a line that delivers in bursts is never held back.
void AwaitTrickle(Link& link, std::size_t missing, int leftMs) {
    if (missing < 2) return;
    // The least time the rest takes, so the sleep never outlasts its arrival.
    const int rest =
        LineTimeMs(static_cast<std::int64_t>(missing), kFewestBitsPerByte, link.comm.Baud);
    link.ticker.SleepMs(std::min(rest, leftMs));
}

}  // namespace

bool ReadBytes(Link& link, std::size_t count, std::string& bytes) {
    std::string read;
    TakeWaitingBytes(link, count, read);
    if (read.size() < count) {
        // Only a byte that must be waited for has a bound, counted once the output has left.
        AwaitOutputDrained(link);
        serial::Deadline deadline(link.byteTimeoutMs, link.ticker.Now());
        while (read.size() < count) {
            const std::size_t took = TakeWaitingBytes(link, count, read);
            if (took > 0) {
                deadline = serial::Deadline(link.byteTimeoutMs, link.ticker.Now());
                if (took == 1) AwaitTrickle(link, count - read.size(), link.byteTimeoutMs);
                continue;
            }
            const int left = deadline.RemainingMs(link.ticker.Now());
            if (left == 0) return false;
            link.comm.WaitInput(left);
        }
    }
    bytes = read;
    return true;
}

bool ReadByte(Link& link, std::uint8_t& value) {
    std::string bytes;
    if (!ReadBytes(link, 1, bytes)) return false;
    value = static_cast<std::uint8_t>(bytes[0]);
    return true;
}

namespace {

// Reads count bytes, most significant first; four of them give their bits as a signed value.
bool ReadBigEndian(Link& link, int count, std::int32_t& value) {
    std::string bytes;
    if (!ReadBytes(link, static_cast<std::size_t>(count), bytes)) return false;
    value = static_cast<std::int32_t>(BigEndianOf(bytes));
    return true;
}

}  // namespace

std::uint32_t BigEndianOf(const std::string& bytes) {
    std::uint32_t result = 0;
    for (char b : bytes) result = result << 8 | static_cast<std::uint8_t>(b);
    return result;
}

bool GetWord(Link& link, std::int32_t& value) {
    return ReadBigEndian(link, 2, value);
}

bool GetLong(Link& link, std::int32_t& value) {
    return ReadBigEndian(link, 4, value);
}

}  // namespace scale
