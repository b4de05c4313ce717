// The trace and the paced line, seen from the PC.

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "ScaleFixture.h"

using sim::Bytes;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(Trace, OneTimeStampedLinePerStepWithEveryByte) {
    TempConfig config;
    std::ostringstream trace;
    sim::Options o;
    o.trace = &trace;
    sim::VirtualScale scale(o);
    scale.SetDisplay(1234, 5, 123456);
    PcSide pc(scale.SlavePath());
    pc.Send({0x42});
    ASSERT_TRUE(scale.WaitReceived(1, std::chrono::seconds(3)));
    pc.Ask({0xA5}, 1);
    pc.Ask({0x06}, 12);
    ASSERT_TRUE(scale.WaitExchanges(1, std::chrono::seconds(3)));

    const std::vector<std::string> lines = Lines(trace.str());
    const char* expected[] = {"PC    -> ignored: 42",         "PC    -> request: A5",
                              "scale -> ready: 77",           "PC    -> command: 06",
                              "scale -> weight: 00 00 04 D2", "scale -> unit price: 00 00 00 05",
                              "scale -> total: 00 01 E2 40"};
    ASSERT_EQ(lines.size(), std::size(expected)) << trace.str();
    double last = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::istringstream line(lines[i]);
        double stamp = -1;
        line >> stamp;
        EXPECT_GE(stamp, last) << lines[i];
        last = stamp;
        std::string rest;
        std::getline(line >> std::ws, rest);
        EXPECT_EQ(rest, expected[i]);
    }
}

// Pacing may only make the line slower than unpaced, never faster than the baud rate allows;
// how close it comes to the rate is the benchmark's business.
TEST(Pacing, NoFasterThanTheLine) {
    TempConfig config;
    sim::Options o;
    o.baud = 9600;
    sim::VirtualScale scale(o);
    scale.PutPlu(SamplePlu(1));
    PcSide pc(scale.SlavePath());
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(pc.Ask({0xA5}, 1), Bytes{0x77});
    ASSERT_EQ(pc.Ask({0x05}, 1), Bytes{0x01});
    ASSERT_EQ(pc.Ask({0x00, 0x01}, 77).size(), 77u);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // 4 bytes in and 79 out, alternating where the exchange turns round: at least 83 bytes
    // of 1.04 ms each.
    EXPECT_GE(elapsed, std::chrono::microseconds(83 * 1041));
}

}  // namespace

namespace {

// Each byte the PC sends after an answer counts from the answer's last byte; a byte that
// follows the PC's own counts nothing.
TEST(Turnaround, EachByteAfterAnAnswerCountsFromItsLastByte) {
    using namespace std::chrono_literals;
    TempConfig config;
    sim::Options o;
    o.baud = 9600;
    sim::VirtualScale scale(o);
    PcSide pc(scale.SlavePath());
    const std::chrono::milliseconds pauses[] = {60ms, 0ms, 25ms};
    for (std::size_t i = 0; i < std::size(pauses); ++i) {
        ASSERT_EQ(pc.Ask({0xA5}, 1), Bytes{0x77});
        std::this_thread::sleep_for(pauses[i]);
        // A command the scale does not know ends the exchange without an answer.
        pc.Send({0xFF});
        ASSERT_TRUE(scale.WaitExchanges(i + 1, 3s));
    }
    const auto turnarounds = scale.Turnarounds();
    ASSERT_EQ(turnarounds.size(), std::size(pauses));
    for (std::size_t i = 0; i < std::size(pauses); ++i) EXPECT_GE(turnarounds[i], pauses[i]) << i;
    scale.ClearReceived();
    EXPECT_TRUE(scale.Turnarounds().empty());
}

}  // namespace
