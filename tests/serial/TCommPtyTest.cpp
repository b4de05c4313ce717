// TComm on a real pseudo-terminal reached through a COM name.

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <numeric>
#include <thread>

#include "MyCom.h"
#include "PtyPair.h"
#include "TempConfig.h"
#include "WaitFor.h"

namespace {

class TCommPty : public ::testing::Test {
  protected:
    TempConfig config;
    PtyPair pty{"COM3"};
    TComm comm;

    void SetUp() override {
        comm.Port = static_cast<tPort>(2);
        comm.Connect();
    }

    // What InQue shows once it shows want bytes, or after two seconds.
    std::int32_t AwaitInQue(std::int32_t want) {
        WaitFor([&] { return comm.InQue() >= want; }, 2000);
        return comm.InQue();
    }
};

TEST_F(TCommPty, SendStringDeliversAllBytesInOrder) {
    std::string text(300, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>(i % 256);
    comm.SendString(text);
    const auto got = pty.Read(300);
    ASSERT_EQ(got.size(), 300u);
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], i % 256) << "byte " << i;
    EXPECT_EQ(comm.GetError(), 0);
}

TEST_F(TCommPty, InQueCountsWaitingBytesAndGetStringTakesThem) {
    EXPECT_EQ(comm.InQue(), 0);
    pty.Write({0x41, 0x42, 0x43, 0x00, 0xFF});
    ASSERT_EQ(AwaitInQue(5), 5);
    std::string text;
    comm.GetString(comm.InQue(), text);
    EXPECT_EQ(text, std::string("ABC\0\xFF", 5));
    EXPECT_EQ(comm.InQue(), 0);
}

TEST_F(TCommPty, GetStringOfZeroIsEmpty) {
    std::string text = "stale";
    comm.GetString(0, text);
    EXPECT_EQ(text, "");
}

TEST_F(TCommPty, SendByteAndGetByteCarryOneByte) {
    comm.SendByte(0xA5);
    EXPECT_EQ(pty.Read(1), std::vector<std::uint8_t>{0xA5});
    pty.Write({0x77});
    ASSERT_EQ(AwaitInQue(1), 1);
    EXPECT_EQ(comm.GetByte(), 0x77);
}

// A byte written while the read waits is taken; with nothing written the read gives 0 once its
// bound has passed, and latches nothing.
TEST(TCommPtyRead, GetByteWaitsOutItsReadBound) {
    const struct {
        const char* name;
        int boundMs;
        bool written;
        std::uint8_t expected;
    } cases[] = {
        {"a byte during a long bound", 60000, true, 0x5A},
        {"nothing within a short bound", 20, false, 0x00},
    };
    for (const auto& c : cases) {
        TempConfig config;
        PtyPair pty("COM3");
        TComm comm(serial::MakePosixPlatform(c.boundMs));
        comm.Port = static_cast<tPort>(2);
        comm.Connect();
        ASSERT_EQ(comm.GetError(), 0) << c.name;
        std::thread writer([&] {
            if (!c.written) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            pty.Write({c.expected});
        });
        EXPECT_EQ(comm.GetByte(), c.expected) << c.name;
        writer.join();
        EXPECT_EQ(comm.GetError(), 0) << c.name;
        EXPECT_EQ(comm.InQue(), 0) << c.name;
    }
}

TEST_F(TCommPty, WaitInputSeesAByteWrittenDuringTheWait) {
    std::thread writer([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        pty.Write({0x01});
    });
    EXPECT_TRUE(comm.WaitInput(3000));
    writer.join();
    EXPECT_EQ(comm.InQue(), 1);
}

TEST_F(TCommPty, SecondConnectClosesTheFirstDeviceAndOpensTheNew) {
    PtyPair other("COM4");
    comm.Port = static_cast<tPort>(3);
    comm.Connect();
    EXPECT_EQ(comm.GetError(), 0);
    comm.SendByte(0x42);
    EXPECT_EQ(other.Read(1), std::vector<std::uint8_t>{0x42});
    EXPECT_TRUE(pty.Read(1, 100).empty());
    // The first device is free again: another component can take it.
    TComm second;
    second.Port = static_cast<tPort>(2);
    second.Connect();
    EXPECT_EQ(second.GetError(), 0);
}

TEST_F(TCommPty, ADeviceInUseIsNotOpenedTwice) {
    TComm second;
    second.Port = static_cast<tPort>(2);
    second.Connect();
    EXPECT_NE(second.GetError(), 0);
    EXPECT_EQ(second.InQue(), 0);
}

TEST_F(TCommPty, ModemLinesFailOnAPseudoTerminalAndTheFailureIsLatched) {
    comm.SetEscCode(5);  // SETDTR: a pty has no modem lines
    EXPECT_NE(comm.GetError(), 0);
    EXPECT_EQ(comm.GetError(), 0);
    comm.SendByte(0x33);
    EXPECT_EQ(pty.Read(1), std::vector<std::uint8_t>{0x33});
}

TEST(TCommAbsent, ConnectOnAnAbsentDeviceReturnsAndLatchesInvalidHandle) {
    TempConfig config;
    TComm comm;
    comm.Port = static_cast<tPort>(200);  // COM201: no link, and no /dev/ttyS200
    comm.Connect();
    EXPECT_TRUE(comm.Connected());
    EXPECT_EQ(comm.GetError(), 6);
    EXPECT_EQ(comm.GetError(), 0);
    EXPECT_EQ(comm.InQue(), 0);
    comm.SendByte(1);
    EXPECT_EQ(comm.GetError(), 6);
}

}  // namespace

namespace {

TEST(TCommHangUp, ReadsOnAHungUpLineReturnAtOnceWithoutAByte) {
    TempConfig config;
    TComm comm;
    {
        PtyPair pty("COM5");
        comm.Port = static_cast<tPort>(4);
        comm.Connect();
        ASSERT_EQ(comm.GetError(), 0);
    }  // both ends of the far side close: the line hangs up
    std::clock_t cpuBefore = std::clock();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(comm.GetByte(), 0);
    std::string text;
    comm.GetString(10, text);
    EXPECT_TRUE(text.empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    // Not spinning while it found out.
    EXPECT_LT(std::clock() - cpuBefore, CLOCKS_PER_SEC / 2);
}

}  // namespace
