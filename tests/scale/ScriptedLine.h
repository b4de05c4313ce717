#pragma once
// A link over the fake platform, with a scale scripted by how many bytes the program has
// written, and a clock that reads from a script.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "Link.h"
#include "MyCom.h"

using Bytes = std::vector<std::uint8_t>;

Bytes Repeat(std::size_t count, std::uint8_t value);
Bytes Join(std::initializer_list<Bytes> parts);
Bytes BytesOf(const std::string& text);

// Gives the scripted readings in order, then goes on in steps of stepMs from the last one, so
// every wait ends.
class ScriptedClock : public scale::Clock {
  public:
    explicit ScriptedClock(std::vector<int> readings = {}, int stepMs = 1)
        : readings_(std::move(readings)), step_(stepMs) {}
    int Millisecond() override;
    int reads = 0;

  private:
    std::vector<int> readings_;
    int step_;
    int last_ = 0;
};

// A monotonic clock that moves only when slept on or told to.
class ScriptedTicker : public serial::Ticker {
  public:
    serial::Deadline::Clock::time_point Now() override { return now; }
    void SleepMs(int ms) override { now += std::chrono::milliseconds(ms); }
    serial::Deadline::Clock::time_point now{};
};

class ScriptedLine {
  public:
    explicit ScriptedLine(std::vector<int> clockReadings = {});

    // These bytes arrive once the program has written afterBytes bytes in all.
    void AnswerAfter(std::size_t afterBytes, const Bytes& bytes);
    const Bytes& Sent() const { return line->output; }

    // Short, so a stall shows at once against the fake.
    static constexpr int kTestByteTimeoutMs = 20;

    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    ScriptedClock clock;
    TComm comm;
    scale::Link link{comm, clock, kTestByteTimeoutMs};

  private:
    std::map<std::size_t, Bytes> answers_;
};
