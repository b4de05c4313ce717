// The PLU upload fed the fuzzer's bytes as the scale's answers.
//
// Input: one flag byte, then chunks of [length][bytes]. The first chunk is waiting on the line
// before the upload starts; each later one arrives when the program writes a byte. Flag bit 0
// hangs the line up once its input is spent (the count stays, reads give nothing); bit 1 makes
// every status report a framing error.

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "Check.h"
#include "Codec.h"
#include "ExchangeSteps.h"
#include "Exchanges.h"
#include "MyCom.h"
#include "SerialPlatform.h"

namespace {

using serial::Handle;

struct Script {
    std::deque<std::vector<std::uint8_t>> chunks;
    bool hangsUp = false;
    bool lineErrors = false;
};

Script ScriptOf(const std::uint8_t* data, std::size_t size) {
    Script script;
    if (size == 0) return script;
    script.hangsUp = data[0] & 1;
    script.lineErrors = data[0] & 2;
    for (std::size_t at = 1; at < size;) {
        const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
        script.chunks.emplace_back(data + at + 1, data + at + 1 + length);
        at += 1 + length;
    }
    return script;
}

// A line whose far end answers from the script and takes whatever is written.
class ScriptedPlatform : public serial::SerialPlatform {
  public:
    explicit ScriptedPlatform(Script script, std::vector<std::uint8_t>& written)
        : script_(std::move(script)), written_(written) {
        Deliver();
    }

    Handle CreateFile(const std::string&) override { return kHandle; }
    bool CloseHandle(Handle) override { return true; }
    bool SetupComm(Handle, std::uint32_t, std::uint32_t) override { return true; }
    bool GetCommState(Handle, serial::Dcb&) override { return true; }
    bool SetCommState(Handle, const serial::Dcb&) override { return true; }
    bool ReadFile(Handle, std::uint8_t* buffer, std::uint32_t count, std::uint32_t& read) override {
        read = 0;
        while (read < count && !input_.empty()) {
            buffer[read++] = input_.front();
            input_.pop_front();
        }
        return true;
    }
    bool WriteFile(Handle, const std::uint8_t* data, std::uint32_t count,
                   std::uint32_t& written) override {
        written_.insert(written_.end(), data, data + count);
        written = count;
        for (std::uint32_t i = 0; i < count; ++i) Deliver();
        return true;
    }
    bool ClearCommError(Handle, std::uint32_t& errors, serial::ComStat& stat) override {
        errors = script_.lineErrors ? serial::kCeFrame : 0;
        const bool hungUp = script_.hangsUp && input_.empty() && script_.chunks.empty();
        stat.cbInQue = hungUp ? lastCount_ : static_cast<std::uint32_t>(input_.size());
        if (!input_.empty()) lastCount_ = stat.cbInQue;
        return true;
    }
    bool EscapeCommFunction(Handle, std::int32_t) override { return true; }
    bool SetCommMask(Handle, std::uint32_t) override { return true; }
    bool GetCommMask(Handle, std::uint32_t& mask) override {
        mask = 0;
        return true;
    }
    bool WaitForInput(Handle, int) override { return !input_.empty(); }
    std::int32_t GetLastError() override { return 0; }

  private:
    static constexpr Handle kHandle = 3;
    Script script_;
    std::vector<std::uint8_t>& written_;
    std::deque<std::uint8_t> input_;
    std::uint32_t lastCount_ = 0;

    void Deliver() {
        if (script_.chunks.empty()) return;
        input_.insert(input_.end(), script_.chunks.front().begin(), script_.chunks.front().end());
        script_.chunks.pop_front();
    }
};

// Each reading a large step on, so the 500 ms reply wait ends after a few passes, unslept.
class SteppingClock : public scale::Clock {
  public:
    int Millisecond() override { return now_ = (now_ + 97) % 1000; }

  private:
    int now_ = 0;
};

// Plain decimal as the grid shows it: no sign but '-', no leading zeros, within the range.
bool IsNumberIn(const std::string& text, long long low, long long high) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && std::to_string(value) == text && value >= low &&
           value <= high;
}

void CheckRecord(const scale::PluCells& cells) {
    using namespace scale::PluCell;
    for (int column : {Plu, ShelfLife, Tare, Group, Message})
        FUZZ_CHECK(IsNumberIn(cells[column], 0, 65535));
    for (int column : {Price, ItemCode})
        FUZZ_CHECK(IsNumberIn(cells[column], INT32_MIN, INT32_MAX));
    for (int column : {Name1, Name2}) {
        const std::string& name = cells[column];
        FUZZ_CHECK(name.size() <= static_cast<std::size_t>(scale::kNameLineLength));
        FUZZ_CHECK(name.empty() || (name.front() != ' ' && name.back() != ' '));
    }
}

// What an exchange for `request` may write: the request byte, the command, the number.
std::vector<std::uint8_t> Expected(std::int32_t request) {
    return {scale::kRequestByte, scale::kCmdUploadPlu, static_cast<std::uint8_t>(request >> 8),
            static_cast<std::uint8_t>(request & 0xFF)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> written;
    TComm comm(std::make_unique<ScriptedPlatform>(ScriptOf(data, size), written));
    comm.Connect();
    SteppingClock clock;
    // No byte arrives while the program waits and nothing stays queued for output, so a read
    // bound of zero changes no outcome and no read waits for the output to drain.
    scale::Link link{comm, clock, 0};

    // As the window asks: 1, 2, 3, ... until the list ends or an exchange fails.
    constexpr std::int32_t kMostRecords = 8;
    for (std::int32_t request = 1; request <= kMostRecords; ++request) {
        written.clear();
        scale::PluCells cells;
        cells.fill("untouched");
        const scale::UploadOutcome outcome = scale::UploadPlu(link, request, cells);
        const std::vector<std::uint8_t> full = Expected(request);
        FUZZ_CHECK(!written.empty() && written.size() <= full.size());
        FUZZ_CHECK(std::equal(written.begin(), written.end(), full.begin()));
        if (outcome != scale::UploadOutcome::Record) {
            FUZZ_CHECK(cells[scale::PluCell::Plu] == "untouched");
            break;
        }
        FUZZ_CHECK(written.size() == full.size());
        CheckRecord(cells);
    }
    return 0;
}
