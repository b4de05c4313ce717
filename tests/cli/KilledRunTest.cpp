// A load killed at any moment leaves known contents that claim only what the scale holds, and a
// changed-only load of the list before puts the scale back to it.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <thread>

#include "CliFixture.h"
#include "Codec.h"
#include "KnownContents.h"

namespace {

using Steady = std::chrono::steady_clock;

constexpr int kRows = 40;
// Longer than the virtual scale's quiet time after an exchange it gave up, and than the time it
// takes to start on bytes already written to the line.
constexpr auto kResync = std::chrono::milliseconds(150);

// The day's list: every price and the second name lines change each day.
std::string DayList(int day) {
    return CliFixture::PluListBytes(kRows, day,
                                    day % 2 ? "\xe4\xe5\xed\xfc " + std::to_string(day) : "");
}

sim::NameLine OnTheLine(const std::string& cell) {
    const std::string line = scale::PrepareNameLine(cell);
    sim::NameLine bytes{};
    for (std::size_t i = 0; i < bytes.size() && i < line.size(); ++i)
        bytes[i] = scale::ToScaleChar(static_cast<std::uint8_t>(line[i]));
    return bytes;
}

// The record a claim says the scale holds, as the scale keeps it.
sim::PluRecord Claimed(const tables::Row& claim) {
    using namespace tables::Column;
    sim::PluRecord record;
    record.plu = static_cast<std::uint16_t>(std::stoi(claim[Plu]));
    record.name1 = OnTheLine(claim[Name1]);
    record.name2 = OnTheLine(claim[Name2]);
    record.price = std::stoi(claim[Price]);
    record.shelfLife = static_cast<std::uint16_t>(std::stoi(claim[ShelfLife]));
    record.tare = static_cast<std::uint16_t>(std::stoi(claim[Tare]));
    record.itemCode = std::stoi(claim[ItemCode]);
    record.group = static_cast<std::uint16_t>(std::stoi(claim[Group]));
    record.message = static_cast<std::uint16_t>(std::stoi(claim[Message]));
    return record;
}

// The scale has taken every byte the killed program wrote and given up any exchange it cut short,
// so that it listens again when the next program starts.
bool Settled(const sim::VirtualScale& scale) {
    for (int tries = 0; tries < 20; ++tries) {
        const std::size_t received = scale.Received().size();
        if (!scale.WaitExchanges(scale.Exchanges().size(), std::chrono::seconds(5))) return false;
        std::this_thread::sleep_for(kResync);
        if (scale.Received().size() == received) return true;
    }
    return false;
}

QStringList ChangedOnly(const QString& list) {
    return {"download", "--port", "COM2", "--changed-only", "--full-if-unknown", list};
}

TEST(KilledRun, LeavesOnlyClaimsTheScaleHoldsAndTheNextLoadPutsItBack) {
    constexpr int kPoints = 10;
    // A scale that soon gives up the exchange a kill cut short, as it would after its own time-out.
    CliFixture f({2}, 38400, std::chrono::milliseconds(200));
    const QString lists[] = {f.WriteFile("day0.plu", DayList(0)),
                             f.WriteFile("day1.plu", DayList(1))};
    std::vector<sim::PluRecord> days[2];
    ASSERT_EQ(RunCli(ChangedOnly(lists[0])).exitCode, 0);
    days[0] = f.Scale().Plus();
    // How long a whole load takes from the start of the program, so the kills spread over it.
    const auto start = Steady::now();
    ASSERT_EQ(RunCli(ChangedOnly(lists[1])).exitCode, 0);
    const auto loadTime = Steady::now() - start;
    days[1] = f.Scale().Plus();
    ASSERT_EQ(RunCli(ChangedOnly(lists[0])).exitCode, 0);
    ASSERT_EQ(f.Scale().Plus(), days[0]);

    int claimsOfKilledRuns = 0;
    for (int point = 0; point < kPoints; ++point) {
        // The next day takes back the price changes of the killed run's day.
        const int earlier = 0;
        const int next = 1;
        CliProcess run(ChangedOnly(lists[next]));
        std::this_thread::sleep_for(loadTime * (2 * point + 1) / (2 * kPoints));
        run.Signal(SIGKILL);
        run.Finish(5000);
        ASSERT_TRUE(Settled(f.Scale())) << "the line never fell quiet after a kill at " << point;

        const auto known = jobs::LoadKnown("COM2", scale::RowKind::Plu);
        for (const auto& [number, claim] : known.value_or(jobs::KnownRecords{})) {
            const auto onScale = f.Scale().FindPlu(static_cast<std::uint16_t>(number));
            ASSERT_TRUE(onScale) << "PLU " << number << " claimed after a kill at point " << point;
            ASSERT_EQ(Claimed(claim), *onScale)
                << "PLU " << number << " claimed wrong after a kill at point " << point;
            claimsOfKilledRuns += *onScale == days[next].at(number - 1);
        }
        const CliRun back = RunCli(ChangedOnly(lists[earlier]));
        ASSERT_EQ(back.exitCode, 0) << back.err;
        ASSERT_EQ(f.Scale().Plus(), days[earlier])
            << "not put back after a kill at point " << point;
    }
    // What the scale confirmed during a run was claimed before the run ended.
    EXPECT_GT(claimsOfKilledRuns, 0);
}

}  // namespace
