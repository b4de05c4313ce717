// A USB adapter's latency timer between the scale and the PC, as the PC sees it.

#include <gtest/gtest.h>

#include "ScaleFixture.h"

using sim::Bytes;

namespace {

TEST(UsbLatency, AShortAnswerWaitsOutTheTimerAndAFullPacketGoesAtOnce) {
    constexpr auto kLatency = std::chrono::milliseconds(400);
    TempConfig config;
    sim::Options o;
    o.usbLatency = kLatency;
    sim::VirtualScale scale(o);
    scale.PutPlu(SamplePlu(1));
    PcSide pc(scale.SlavePath());
    // The PC's bytes, the answer's length, and what of it comes at once: a full USB packet.
    const std::tuple<Bytes, std::size_t, std::size_t> cases[] = {
        {{0xA5}, 1, 0}, {{0x05}, 1, 0}, {{0x00, 0x01}, 77, 62}};
    for (const auto& [ask, answer, atOnce] : cases) {
        const auto asked = std::chrono::steady_clock::now();
        pc.Send(ask);
        EXPECT_EQ(pc.Read(atOnce).size(), atOnce) << answer;
        EXPECT_TRUE(pc.Quiet(kLatency / 4)) << answer << ": the rest is held";
        EXPECT_EQ(pc.Read(answer - atOnce).size(), answer - atOnce) << answer;
        EXPECT_GE(std::chrono::steady_clock::now() - asked, kLatency) << answer;
    }
}

}  // namespace
