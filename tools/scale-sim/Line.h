#pragma once
// The scale's end of the line: byte reads and writes on one descriptor, paced as the line would
// carry them when a baud rate is given, and interruptible through a stop descriptor.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

namespace sim {

using Clock = std::chrono::steady_clock;

class Line {
  public:
    enum class Result { Ok, Timeout, Stopped, Closed };

    // fd is owned by the caller until HangUp. baud 0: unpaced. stopFd turns readable to stop.
    // peerFd, when not -1, is the PC's end held open by the scale (see LetPeerRead).
    // usbLatency, when not zero, holds the scale's bytes as a USB adapter's latency timer does.
    Line(int fd, int baud, int stopFd, int peerFd = -1, Clock::duration usbLatency = {});

    // Told, for each byte the PC sends after an answer, how long after the answer's last byte
    // left the scale it arrived: the PC's turnaround, its program's and its machine's together.
    void OnTurnaround(std::function<void(Clock::duration)> told) {
        onTurnaround_ = std::move(told);
    }

    // One byte from the PC, no earlier than the line could have delivered it.
    Result Read(std::uint8_t& byte, Clock::duration timeout);
    // Bytes to the PC; paced, each appears one byte time after the line is free for it.
    Result Write(const std::uint8_t* bytes, std::size_t count);
    // Waits without reading; Stopped if the stop descriptor fired.
    Result Pause(Clock::duration duration);
    // Waits (at most 2 s) until the PC has read what was sent, as a closed pty master throws
    // unread bytes away.
    void LetPeerRead();
    // Closes the descriptor, so the PC sees the line hang up.
    void HangUp();
    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }

  private:
    struct Arrived {
        std::uint8_t byte;
        Clock::time_point at;
    };
    Result Fill(Clock::time_point deadline);
    Result WaitWritable();
    Result WriteAll(const std::uint8_t* bytes, std::size_t count);
    bool SleepUntil(Clock::time_point when);
    Result Hold(const std::uint8_t* bytes, std::size_t count, Clock::time_point sent);
    Result Release();

    int fd_;
    int stopFd_;
    int peerFd_;
    Clock::duration byteTime_{0};
    std::deque<Arrived> arrived_;
    Clock::time_point rxFree_{};
    Clock::time_point txFree_{};
    bool inBurst_ = false;
    Clock::duration usbLatency_;
    std::vector<std::uint8_t> held_;
    Clock::time_point heldUntil_{};
    std::function<void(Clock::duration)> onTurnaround_;
    bool answered_ = false;  // bytes went to the PC since its last byte was taken
    Clock::time_point lastSent_{};
};

}  // namespace sim
