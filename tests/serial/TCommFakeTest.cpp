// TComm over the scripted platform: what it asks of the device, and its error latch.

#include <gtest/gtest.h>

#include <tuple>

#include "FakePlatform.h"
#include "MyCom.h"

namespace {

class TCommFake : public ::testing::Test {
  protected:
    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    TComm comm{std::make_unique<FakePlatform>(line)};
    std::vector<std::int32_t> handled;

    void SetUp() override {
        comm.OnComError = [this](TComm&, std::int32_t code) { handled.push_back(code); };
    }
};

TEST_F(TCommFake, CreateSetsTheDefaults) {
    TComm fresh{std::make_unique<FakePlatform>(line)};
    EXPECT_EQ(fresh.Baud, b9600);
    EXPECT_EQ(fresh.StopBits, s10);
    EXPECT_EQ(fresh.Parity, Zero);
    EXPECT_EQ(fresh.DataBits, 8);
    EXPECT_EQ(fresh.FlowControl, Hardware);
    EXPECT_EQ(fresh.Port, COM1);
    EXPECT_EQ(fresh.XON, 17);
    EXPECT_EQ(fresh.XOFF, 19);
    EXPECT_FALSE(fresh.Connected());
}

TEST_F(TCommFake, EveryBaudGoesToTheDeviceAsItsRate) {
    const std::pair<TBaud, std::uint32_t> cases[] = {
        {b110, 110},       {b300, 300},       {b1200, 1200},    {b2400, 2400},   {b4800, 4800},
        {b9600, 9600},     {b14400, 14400},   {b38400, 38400},  {b56000, 56000}, {b57600, 57600},
        {b115200, 115200}, {b128000, 128000}, {b256000, 256000}};
    for (const auto& [baud, rate] : cases) {
        comm.Baud = baud;
        comm.Connect();
        EXPECT_EQ(line->dcb.BaudRate, rate) << int(baud);
    }
}

TEST_F(TCommFake, ParityStopBitsAndDataBitsGoToTheDevice) {
    const std::pair<tParitet, std::uint8_t> parities[] = {
        {Zero, 0}, {Odd, 1}, {Even, 2}, {Binary0, 3}, {Binary1, 4}};
    for (const auto& [parity, value] : parities) {
        comm.Parity = parity;
        comm.Connect();
        EXPECT_EQ(line->dcb.Parity, value) << int(parity);
    }
    const std::pair<tStopBits, std::uint8_t> stops[] = {{s10, 0}, {s15, 1}, {s20, 2}};
    for (const auto& [stop, value] : stops) {
        comm.StopBits = stop;
        comm.Connect();
        EXPECT_EQ(line->dcb.StopBits, value) << int(stop);
    }
    for (tDataBit bits = 4; bits <= 8; ++bits) {
        comm.DataBits = bits;
        comm.Connect();
        EXPECT_EQ(line->dcb.ByteSize, bits);
    }
}

TEST_F(TCommFake, PortNumberNamesTheDevice) {
    const std::pair<int, const char*> cases[] = {
        {0, "COM1"}, {1, "COM2"}, {7, "COM8"}, {254, "COM255"}};
    for (const auto& [port, name] : cases) {
        comm.Port = static_cast<tPort>(port);
        comm.Connect();
        EXPECT_EQ(line->opened.back(), name);
    }
}

TEST_F(TCommFake, PropertiesTakeEffectOnlyAtTheNextConnect) {
    comm.Connect();
    comm.Baud = b1200;
    EXPECT_EQ(line->dcb.BaudRate, 9600u);
    comm.Connect();
    EXPECT_EQ(line->dcb.BaudRate, 1200u);
    EXPECT_EQ(line->closes, 1);
}

TEST_F(TCommFake, FlowControlTouchesOnlyTheSoftwareFlags) {
    const std::uint32_t untouched =
        serial::kFBinary | serial::kFOutxCtsFlow | serial::kFRtsControlMask;
    line->dcb.Flags = untouched;
    line->dcb.XonChar = 'a';
    comm.XON = 5;
    comm.XOFF = 7;
    comm.FlowControl = XON_XOFF;
    comm.Connect();
    EXPECT_EQ(line->dcb.Flags, untouched | serial::kFOutX | serial::kFInX);
    EXPECT_EQ(line->dcb.XonChar, 5);
    EXPECT_EQ(line->dcb.XoffChar, 7);
    comm.FlowControl = Hardware;
    comm.XON = 9;
    comm.Connect();
    EXPECT_EQ(line->dcb.Flags, untouched);
    EXPECT_EQ(line->dcb.XonChar, 5) << "Hardware leaves the characters alone";
}

TEST_F(TCommFake, ConnectReportsEarlyFailuresButLatchesOnlyTheLast) {
    line->failing = {"SetupComm", "GetCommState"};
    line->failCode = 31;
    comm.Connect();
    EXPECT_EQ(handled, (std::vector<std::int32_t>{31, 31}));
    EXPECT_EQ(comm.GetError(), 0) << "cleared before the state is written";
    line->failing = {"SetCommState"};
    line->failCode = 87;
    comm.Connect();
    EXPECT_EQ(comm.GetError(), 87);
    EXPECT_TRUE(comm.Connected());
}

TEST_F(TCommFake, SetErrorOfZeroChangesNothing) {
    comm.SetError(0);
    EXPECT_TRUE(handled.empty());
    EXPECT_EQ(comm.GetError(), 0);
}

TEST_F(TCommFake, ALineErrorIsReportedOnceUntilTheLatchIsCleared) {
    comm.Connect();
    line->pendingLineErrors = serial::kCeFrame;
    comm.InQue();
    EXPECT_EQ(handled, std::vector<std::int32_t>{serial::kCeFrame});
    line->pendingLineErrors = serial::kCeOverrun;
    comm.InQue();
    line->pendingLineErrors = serial::kCeRxParity;
    comm.OutQue();
    EXPECT_EQ(handled.size(), 1u) << "latched: later line errors are cleared, not reported";
    EXPECT_EQ(comm.GetError(), serial::kCeFrame);
    line->pendingLineErrors = serial::kCeBreak;
    comm.InQue();
    EXPECT_EQ(handled.back(), serial::kCeBreak);
}

TEST_F(TCommFake, AFailedStatusReadKeepsTheEarlierCounts) {
    comm.Connect();
    line->input = {1, 2, 3};
    line->outQueue = 4;
    EXPECT_EQ(comm.InQue(), 3);
    EXPECT_EQ(comm.OutQue(), 4);
    line->failing = {"ClearCommError"};
    line->input.clear();
    EXPECT_EQ(comm.InQue(), 3);
    EXPECT_TRUE(handled.empty());
}

TEST_F(TCommFake, GetEventComparesAndReplacesTheMask) {
    comm.Connect();
    comm.SetEvent(0x0100);
    EXPECT_EQ(line->eventMask, 0x0100u);
    std::int32_t mask = 0x0100;
    EXPECT_TRUE(comm.GetEvent(mask));
    EXPECT_EQ(mask, 0x0100);
    mask = 0x0008;
    EXPECT_FALSE(comm.GetEvent(mask));
    EXPECT_EQ(mask, 0x0100);
}

TEST_F(TCommFake, GetFlagsSpellsTheLowSixteenBitsHighFirst) {
    comm.Connect();
    line->dcb.Flags = 0x10011;
    std::string flags;
    comm.GetFlags(flags);
    EXPECT_EQ(flags, "0000000000010001");
}

TEST_F(TCommFake, EscapeCodesGoToTheDevice) {
    comm.Connect();
    for (int code : {5, 3, 6, 4, 2, 1}) comm.SetEscCode(code);
    EXPECT_EQ(line->escapeCodes, (std::vector<std::int32_t>{5, 3, 6, 4, 2, 1}));
}

TEST_F(TCommFake, GetStringAsksForAtMostTheQueueSize) {
    comm.Connect();
    line->input.assign(2000, 0x55);
    std::string text;
    comm.GetString(5000, text);
    EXPECT_EQ(text.size(), 1600u);
    EXPECT_EQ(line->input.size(), 400u);
}

TEST_F(TCommFake, FailedTransfersLatchAndGoOn) {
    comm.Connect();
    line->failing = {"WriteFile", "ReadFile"};
    line->failCode = 1117;
    comm.SendByte(1);
    EXPECT_EQ(comm.GetByte(), 0);
    EXPECT_EQ(handled, (std::vector<std::int32_t>{1117, 1117}));
}

TEST_F(TCommFake, DestroyingTheComponentClosesTheDevice) {
    {
        TComm scoped{std::make_unique<FakePlatform>(line)};
        scoped.Connect();
    }
    EXPECT_EQ(line->closes, 1);
}

TEST(TCommLowLatency, AskedAtEachOpenAndPutBackBeforeEachCloseWhereTheDriverTookIt) {
    // refused, no device; asks and restores over two opens and the close
    const std::tuple<bool, bool, int, int> cases[] = {
        {false, false, 2, 2}, {true, false, 2, 0}, {false, true, 0, 0}};
    for (const auto& [refused, absent, asks, restores] : cases) {
        auto line = std::make_shared<FakeLine>();
        line->lowLatencyRefused = refused;
        if (absent) line->absent = {"COM1"};
        {
            TComm comm{std::make_unique<FakePlatform>(line)};
            comm.Connect();
            comm.Connect();  // closes the device and opens it again
        }
        EXPECT_EQ(line->lowLatencyAsks, asks) << refused << absent;
        EXPECT_EQ(line->latencyRestores, restores) << refused << absent;
    }
}

TEST(TCommLowLatency, ARefusalChangesNothingTheComponentReports) {
    // Every code given to OnComError, then the open error and the latch.
    auto connect = [](bool refused, const std::set<std::string>& failing) {
        auto line = std::make_shared<FakeLine>();
        line->lowLatencyRefused = refused;
        line->failing = failing;
        TComm comm{std::make_unique<FakePlatform>(line)};
        std::vector<std::int32_t> reported;
        comm.OnComError = [&reported](TComm&, std::int32_t code) { reported.push_back(code); };
        comm.Connect();
        reported.push_back(comm.OpenError());
        reported.push_back(comm.GetError());
        return reported;
    };
    const std::set<std::string> failures[] = {{}, {"SetCommState"}, {"GetCommState"}};
    for (const auto& failing : failures)
        EXPECT_EQ(connect(true, failing), connect(false, failing)) << failing.size();
    EXPECT_EQ(connect(true, {}), (std::vector<std::int32_t>{0, 0})) << "nothing said or latched";
}

}  // namespace
