#pragma once
// The PC's end of the line for tests: the pty's slave opened raw, with bounded waits.

#include <chrono>
#include <string>

#include "Records.h"

class PcSide {
  public:
    explicit PcSide(const std::string& path);
    ~PcSide();
    PcSide(const PcSide&) = delete;
    PcSide& operator=(const PcSide&) = delete;

    void Send(const sim::Bytes& bytes);
    // Up to `count` bytes, fewer if the line stays quiet for `timeout` or hangs up.
    sim::Bytes Read(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(3));
    // Sends and reads the scale's `count`-byte answer.
    sim::Bytes Ask(const sim::Bytes& bytes, std::size_t count);
    // True when nothing arrives within `wait`.
    bool Quiet(std::chrono::milliseconds wait = std::chrono::milliseconds(300));
    // The result of the last read when it ended at a hang-up: EIO, or 0 for end of file.
    int HangUpSeen() const { return hangUp_; }

  private:
    int fd_;
    int hangUp_ = -1;
};

sim::Bytes Concat(std::initializer_list<sim::Bytes> parts);
sim::Bytes Repeat(std::uint8_t byte, std::size_t count);
