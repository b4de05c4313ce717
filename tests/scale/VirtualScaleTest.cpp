// The exchanges on a pseudo-terminal against the virtual scale, which was written from the
// same byte tables independently of this code.

#include <gtest/gtest.h>

#include <chrono>

#include "Exchanges.h"
#include "MyCom.h"
#include "TempConfig.h"
#include "VirtualScale.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

sim::Options LinkedAsCom2() {
    sim::Options options;
    options.link = "COM2";
    return options;
}

sim::NameLine NameLineOf(const Bytes& bytes) {
    sim::NameLine line{};
    std::copy(bytes.begin(), bytes.end(), line.begin());
    return line;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

scale::PluRecord CheeseRow() {
    scale::PluRecord row;
    row.plu = 1;
    row.name1 = "\xD1\xFB\xF0";  // Сыр
    row.price = 12345;
    row.shelfLife = 5;
    row.itemCode = 123;
    row.group = 1;
    return row;
}

class OnVirtualScale : public ::testing::Test {
  protected:
    void SetUp() override {
        comm.Port = COM2;
        comm.Connect();
    }

    // The scale has seen exactly these bytes (waiting until it has seen that many).
    void ExpectReceived(const Bytes& bytes) {
        EXPECT_TRUE(virtualScale.WaitReceived(bytes.size(), 2s));
        EXPECT_EQ(virtualScale.Received(), bytes);
    }

    TempConfig config;
    sim::VirtualScale virtualScale{LinkedAsCom2()};
    TComm comm;
    scale::Link link{comm, scale::SystemClock()};
};

TEST_F(OnVirtualScale, ReadsTheDisplay) {
    virtualScale.SetDisplay(1234, 5, -123456);
    scale::DisplayReading reading;
    ASSERT_EQ(scale::ReadDisplay(link, reading), scale::ReadoutOutcome::Ok);
    EXPECT_EQ(reading.weight, 1234);
    EXPECT_EQ(reading.price, 5);
    EXPECT_EQ(reading.total, -123456);
    ExpectReceived({0xA5, 0x06});
}

TEST_F(OnVirtualScale, DownloadedRowIsStoredByteForByteAndUploadsBackToTheSameCells) {
    ASSERT_EQ(scale::DownloadPlu(link, CheeseRow()), scale::PluOutcome::Ok);
    ExpectReceived(
        Join({{0xA5, 0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0x7B},
              Bytes(12, 0x20),
              {0x91, 0xEB, 0xE0},
              Bytes(13, 0x20),
              Bytes(28, 0x20),
              {0x00, 0x00, 0x30, 0x39, 0x00, 0x05, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00}}));
    const auto stored = virtualScale.FindPlu(1);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->itemCode, 123);
    EXPECT_EQ(stored->price, 12345);
    EXPECT_EQ(stored->name2, NameLineOf(Bytes(28, 0x20)));

    scale::PluCells cells;
    ASSERT_EQ(scale::UploadPlu(link, 1, cells), scale::UploadOutcome::Record);
    const scale::PluCells expected = {"1", "\xD1\xFB\xF0", "", "12345", "5", "0", "123", "1", "0"};
    EXPECT_EQ(cells, expected);
}

TEST_F(OnVirtualScale, UploadReadsUntilTheScaleRefusesANumber) {
    for (std::uint16_t plu = 1; plu <= 3; ++plu) {
        sim::PluRecord record;
        record.plu = plu;
        record.itemCode = -1;
        record.name1 = NameLineOf({0x20, 0x20, 0x80, 0x81});  // zeros after: spaces
        record.price = 100 * plu;
        virtualScale.PutPlu(record);
    }
    scale::PluCells cells;
    for (int request = 1; request <= 3; ++request) {
        ASSERT_EQ(scale::UploadPlu(link, request, cells), scale::UploadOutcome::Record);
        EXPECT_EQ(cells[0], std::to_string(request));
        EXPECT_EQ(cells[1], "\xC0\xC1");
        EXPECT_EQ(cells[3], std::to_string(100 * request));
        EXPECT_EQ(cells[6], "-1");
    }
    EXPECT_EQ(scale::UploadPlu(link, 4, cells), scale::UploadOutcome::EndOfList);
}

TEST_F(OnVirtualScale, MessageLinesAreStoredPaddedAndConverted) {
    std::array<std::string, 8> lines{"\xA8\xEB\xEA\xE0", "Test 1"};  // Ёлка
    ASSERT_EQ(scale::DownloadMsg(link, 200, lines), scale::MsgOutcome::Ok);
    const auto stored = virtualScale.FindMessage(200);
    ASSERT_TRUE(stored.has_value());
    sim::MessageLine first{};
    first.fill(0x20);
    const Bytes elka = {0xF0, 0xAB, 0xAA, 0xA0};
    std::copy(elka.begin(), elka.end(), first.begin());
    EXPECT_EQ(stored->lines[0], first);
    sim::MessageLine blank{};
    blank.fill(0x20);
    EXPECT_EQ(stored->lines[7], blank);
}

sim::Fault At(sim::Kind kind, sim::Step step, sim::Action action, std::uint8_t byte = 0x15) {
    sim::Fault fault;
    fault.kind = kind;
    fault.step = step;
    fault.action = action;
    fault.byte = byte;
    return fault;
}

TEST_F(OnVirtualScale, RefusalsEndEachExchangeWhereTheScaleSaysNo) {
    using sim::Action;
    using sim::Kind;
    using sim::Step;
    virtualScale.Inject(At(Kind::Any, Step::Ready, Action::Byte));
    EXPECT_EQ(scale::DownloadPlu(link, CheeseRow()), scale::PluOutcome::T2);
    ExpectReceived({0xA5});

    virtualScale.ClearReceived();
    virtualScale.Inject(At(Kind::PluDownload, Step::Accept, Action::Byte, 0x00));
    EXPECT_EQ(scale::DownloadPlu(link, CheeseRow()), scale::PluOutcome::T3);
    ExpectReceived({0xA5, 0x02});

    virtualScale.ClearReceived();
    virtualScale.Inject(At(Kind::PluDownload, Step::NumberCheck, Action::Refuse));
    EXPECT_EQ(scale::DownloadPlu(link, CheeseRow()), scale::PluOutcome::T4);
    ExpectReceived({0xA5, 0x02, 0x00, 0x01});

    virtualScale.ClearReceived();
    virtualScale.Inject(At(Kind::MsgDownload, Step::Closing, Action::Byte, 0x11));
    EXPECT_EQ(scale::DownloadMsg(link, 1, {}), scale::MsgOutcome::F6);

    virtualScale.ClearReceived();
    virtualScale.Inject(At(Kind::PluUpload, Step::Accept, Action::Byte));
    scale::PluCells cells;
    EXPECT_EQ(scale::UploadPlu(link, 1, cells), scale::UploadOutcome::U3);
    ExpectReceived({0xA5, 0x05});
}

TEST_F(OnVirtualScale, SilenceAfterTheCommandByteIsF3) {
    virtualScale.Inject(sim::NoMessages());
    EXPECT_EQ(scale::DownloadMsg(link, 1, {}), scale::MsgOutcome::F3);
    ExpectReceived({0xA5, 0x00});
}

TEST_F(OnVirtualScale, SilenceToTheRequestIsNoAnswer) {
    virtualScale.Inject(At(sim::Kind::Any, sim::Step::Ready, sim::Action::Silence));
    scale::PluCells cells;
    EXPECT_EQ(scale::UploadPlu(link, 1, cells), scale::UploadOutcome::U1);
    ExpectReceived({0xA5});
}

// The real bound of 2 s, once: a readout that stops after five of its twelve value bytes.
TEST_F(OnVirtualScale, StallInTheReadoutEndsWithinTheReadBound) {
    auto stall = At(sim::Kind::Readout, sim::Step::Record, sim::Action::Stall);
    stall.afterBytes = 5;
    virtualScale.Inject(stall);
    virtualScale.SetDisplay(1234, 5, 123456);
    scale::DisplayReading reading;
    EXPECT_EQ(scale::ReadDisplay(link, reading), scale::ReadoutOutcome::Stalled);
    EXPECT_EQ(reading.weight, 0);
    ExpectReceived({0xA5, 0x06});
}

TEST_F(OnVirtualScale, HangUpInTheMiddleOfAnUploadIsAStall) {
    sim::PluRecord record;
    record.plu = 1;
    virtualScale.PutPlu(record);
    auto hangUp = At(sim::Kind::PluUpload, sim::Step::Record, sim::Action::HangUp);
    hangUp.afterBytes = 10;
    virtualScale.Inject(hangUp);
    link.byteTimeoutMs = 300;
    scale::PluCells cells;
    EXPECT_EQ(scale::UploadPlu(link, 1, cells), scale::UploadOutcome::Stalled);
}

}  // namespace
