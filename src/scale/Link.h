#pragma once
// What every exchange with the scale shares: the input flush, the handshake, the reply wait,
// numbers on the wire and the bounded read of every byte after the scale's first answer.

#include <cstddef>
#include <cstdint>
#include <string>

#include "Deadline.h"
#include "MyCom.h"

namespace scale {

// Command bytes, sent right after the handshake.
enum CommandByte : std::uint8_t {
    kCmdMessageDownload = 0x00,
    kCmdPluDownload = 0x02,
    kCmdUploadPlu = 0x05,
    kCmdReadDisplay = 0x06,
};
constexpr std::uint8_t kRequestByte = 0xA5;
constexpr std::uint8_t kReadyByte = 0x77;
constexpr std::uint8_t kAcceptedByte = 0x01;
constexpr std::uint8_t kClosingByte = 0x10;

constexpr int kReplyTimeoutMs = 500;
// The longest sleep between two passes of the reply wait.
constexpr int kReplyPollMs = 5;
constexpr int kByteTimeoutMs = 2000;
// Beyond the line time of what was queued, how long output may take to leave before a read's
// bound starts anyway, so a driver that never drains cannot hold a read for ever.
constexpr int kDrainMarginMs = 500;

// The millisecond field (0..999) of the local time of day, injectable for tests.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual int Millisecond() = 0;
};
Clock& SystemClock();

// The line an exchange runs on. byteTimeoutMs bounds each read after the scale's first answer;
// tests shorten it and drainMarginMs, or give a ticker of their own, to prove a stall without
// waiting.
struct Link {
    TComm& comm;
    Clock& clock;
    int byteTimeoutMs = kByteTimeoutMs;
    int drainMarginMs = kDrainMarginMs;
    // Times the drain and the byte bound; the port's own waits are the platform's.
    serial::Ticker& ticker = serial::SteadyTicker();
};

enum class HandshakeResult { Ready, NoAnswer, Refused };

// Discards whatever is waiting in the input.
void NewQue(TComm& comm);
// Waits up to 500 ms (on the millisecond field, one roll-over allowed) for a byte to wait.
// Call right after writing the byte whose answer is awaited.
bool WaitReply(Link& link);
// Flush, 0xA5, wait, read: ready on 0x77, refused on any other byte.
HandshakeResult Handshake(Link& link);

void SendWord(TComm& comm, std::int32_t n);
void SendLong(TComm& comm, std::int32_t n);

// Bounded reads: false when a byte did not come within link.byteTimeoutMs (2 s) on a monotonic
// clock, counted from when the output has left, so the scale's time to answer is not eaten by
// bytes still on their way to it; a hung-up line may add one read time-out of the port. value
// is set only on success.
bool ReadByte(Link& link, std::uint8_t& value);
// count bytes, each bounded as ReadByte's; bytes is set only on success.
bool ReadBytes(Link& link, std::size_t count, std::string& bytes);
bool GetWord(Link& link, std::int32_t& value);  // 0..65535
bool GetLong(Link& link, std::int32_t& value);  // signed
// Up to four bytes, most significant first.
std::uint32_t BigEndianOf(const std::string& bytes);

}  // namespace scale
