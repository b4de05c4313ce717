#pragma once
// A scripted serial platform: the test owns the FakeLine and scripts what the device does,
// while TComm owns the platform.

#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "SerialPlatform.h"

struct FakeLine {
    // Names the component asked to open, in order, and how many closes it made.
    std::vector<std::string> opened;
    int closes = 0;
    // Opening fails for these names (invalid handle, later calls fail with code 6).
    std::set<std::string> absent;
    std::set<std::string> denied;  // names this user may not open
    // Calls that fail with failCode, by name ("SetupComm", "ReadFile", ...).
    std::set<std::string> failing;
    std::int32_t failCode = serial::kErrorGenFailure;
    // Calls on no open device are served too, as if one had been opened behind the port's back.
    bool answersUnopened = false;

    serial::Dcb dcb;
    std::uint32_t eventMask = 0;
    std::vector<std::int32_t> escapeCodes;
    // Line errors that the next ClearCommError reports (then cleared).
    std::uint32_t pendingLineErrors = 0;

    std::deque<std::uint8_t> input;    // bytes waiting for the component
    std::vector<std::uint8_t> output;  // bytes the component wrote
    std::uint32_t outQueue = 0;
    // Called at each ClearCommError before it reports, so a test can drain the output queue
    // or deliver input as time passes.
    std::function<void(FakeLine&)> onStatus;
    // Called after each write, so a test can answer like a device would.
    std::function<void(FakeLine&)> onWrite;
    // Called at each WaitForInput, so a test can make bytes arrive during a wait.
    std::function<void(FakeLine&)> onWait;
    int waits = 0;
    int waitMs = 0;  // the time-out of the wait under way, as onWait sees it

    // Low latency: asks made, and restores made while the device was still open.
    int lowLatencyAsks = 0;
    int latencyRestores = 0;
    bool lowLatencyRefused = false;  // a driver without it, or a pseudo-terminal
};

class FakePlatform : public serial::SerialPlatform {
  public:
    explicit FakePlatform(std::shared_ptr<FakeLine> line) : line_(std::move(line)) {}

    serial::Handle CreateFile(const std::string& name) override;
    bool CloseHandle(serial::Handle h) override;
    bool SetupComm(serial::Handle h, std::uint32_t, std::uint32_t) override;
    bool GetCommState(serial::Handle h, serial::Dcb& dcb) override;
    bool SetCommState(serial::Handle h, const serial::Dcb& dcb) override;
    bool ReadFile(serial::Handle h, std::uint8_t* buffer, std::uint32_t count,
                  std::uint32_t& read) override;
    bool WriteFile(serial::Handle h, const std::uint8_t* data, std::uint32_t count,
                   std::uint32_t& written) override;
    bool ClearCommError(serial::Handle h, std::uint32_t& errors, serial::ComStat& stat) override;
    bool EscapeCommFunction(serial::Handle h, std::int32_t code) override;
    bool SetCommMask(serial::Handle h, std::uint32_t mask) override;
    bool GetCommMask(serial::Handle h, std::uint32_t& mask) override;
    bool WaitForInput(serial::Handle h, int timeoutMs) override;
    bool AskLowLatency(serial::Handle h) override;
    void RestoreLatency(serial::Handle h) override;
    std::int32_t GetLastError() override { return last_; }

  private:
    std::shared_ptr<FakeLine> line_;
    serial::Handle open_ = serial::kInvalidHandle;
    serial::Handle next_ = 3;
    std::int32_t last_ = 0;

    // False (with the error set) when the handle is not the open one or the call is scripted
    // to fail.
    bool Usable(serial::Handle h, const char* call);
};
