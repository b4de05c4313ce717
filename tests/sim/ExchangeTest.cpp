// Each exchange spoken in raw bytes over the pty, every answer byte checked.

#include <gmock/gmock.h>

#include "ScaleFixture.h"

using sim::Bytes;

namespace {

class Exchanges : public ScaleTest {};

TEST_F(Exchanges, HandshakeIsAnsweredWithReadyAndOtherBytesAreIgnored) {
    pc_.Send({0x00, 0x77, 0x15});
    EXPECT_TRUE(pc_.Quiet());
    EXPECT_EQ(pc_.Ask({0xA5}, 1), Bytes{0x77});
    // A second request where the command was due starts the handshake again.
    EXPECT_EQ(pc_.Ask({0xA5}, 1), Bytes{0x77});
    // An unknown command gets no answer, and the next request is served.
    pc_.Send({0x33});
    EXPECT_TRUE(pc_.Quiet());
    EXPECT_EQ(pc_.Ask({0xA5}, 1), Bytes{0x77});
}

TEST_F(Exchanges, ReadoutSendsTheDisplayAsThreeBigEndianLongs) {
    struct Case {
        sim::Display display;
        Bytes expected;
    };
    const Case cases[] = {
        {{1234, 5, 123456},
         {0x00, 0x00, 0x04, 0xD2, 0x00, 0x00, 0x00, 0x05, 0x00, 0x01, 0xE2, 0x40}},
        {{0, 0, 0}, Bytes(12, 0x00)},
        {{-1, 2147483647, -2147483647 - 1},
         {0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        scale_.SetDisplay(c.display.weight, c.display.price, c.display.total);
        Open(0x06, {});
        EXPECT_EQ(pc_.Read(12), c.expected);
        EXPECT_TRUE(pc_.Quiet(std::chrono::milliseconds(50))) << "nothing follows the total";
    }
    EXPECT_EQ(scale_.Received(), Concat({{0xA5, 0x06}, {0xA5, 0x06}, {0xA5, 0x06}}));
}

// The row of the PLU download's worked example: PLU 1, "Сыр", empty second line, price 12345,
// shelf life 5, tare 0, item code 123, group 1, message 0.
Bytes ExampleRowAfterCheck() {
    return Concat({{0x00, 0x00, 0x00, 0x7B},
                   Repeat(0x20, 12),
                   {0x91, 0xEB, 0xE0},
                   Repeat(0x20, 13),
                   Repeat(0x20, 28),
                   {0x00, 0x00, 0x30, 0x39},
                   {0x00, 0x05},
                   {0x00, 0x00},
                   {0x00, 0x01},
                   {0x00, 0x00}});
}

TEST_F(Exchanges, PluDownloadStoresTheWholeExampleRow) {
    Open(0x02, {0x01});
    const Bytes check = pc_.Ask({0x00, 0x01}, 2);
    ASSERT_EQ(check.size(), 2u);
    EXPECT_NE(check, (Bytes{0x00, 0x00}));
    EXPECT_NE(check, (Bytes{0x00, 0x01})) << "the check must not echo the number";
    EXPECT_EQ(pc_.Ask(ExampleRowAfterCheck(), 1), Bytes{0x10});

    const auto stored = scale_.FindPlu(1);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->plu, 1);
    EXPECT_EQ(stored->itemCode, 123);
    EXPECT_EQ(Of(stored->name1), Concat({Repeat(0x20, 12), {0x91, 0xEB, 0xE0}, Repeat(0x20, 13)}));
    EXPECT_EQ(Of(stored->name2), Repeat(0x20, 28));
    EXPECT_EQ(stored->price, 12345);
    EXPECT_EQ(stored->shelfLife, 5);
    EXPECT_EQ(stored->tare, 0);
    EXPECT_EQ(stored->group, 1);
    EXPECT_EQ(stored->message, 0);
    EXPECT_EQ(scale_.Received(), Concat({{0xA5, 0x02, 0x00, 0x01}, ExampleRowAfterCheck()}));
}

TEST_F(Exchanges, PluNumbersOutsideTheCapacityAreRefused) {
    struct Case {
        int capacity;
        std::uint16_t plu;
        bool accepted;
    };
    const Case cases[] = {{65535, 0, false}, {65535, 1, true},  {65535, 65535, true},
                          {100, 100, true},  {100, 101, false}, {0, 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "capacity " << c.capacity << ", PLU " << c.plu);
        scale_.ClearPlus();
        scale_.SetCapacity(c.capacity);
        Open(0x02, {0x01});
        const Bytes check = pc_.Ask(Word(c.plu), 2);
        ASSERT_EQ(check.size(), 2u);
        EXPECT_EQ(check != Bytes({0x00, 0x00}), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(pc_.Ask(Bytes(72, 0x41), 1), Bytes{0x10});
        } else {
            EXPECT_TRUE(pc_.Quiet(std::chrono::milliseconds(50)));
        }
        EXPECT_EQ(scale_.FindPlu(c.plu).has_value(), c.accepted);
    }
}

TEST_F(Exchanges, PluDownloadReplacesARecordOfTheSameNumber) {
    for (std::uint8_t fill : {0x41, 0x42}) {
        Open(0x02, {0x01});
        ASSERT_EQ(pc_.Ask({0x01, 0x2C}, 2).size(), 2u);
        ASSERT_EQ(pc_.Ask(Bytes(72, fill), 1), Bytes{0x10});
    }
    ASSERT_EQ(scale_.Plus().size(), 1u);
    EXPECT_EQ(scale_.Plus()[0].plu, 300);
    EXPECT_EQ(scale_.Plus()[0].name1[0], 0x42);
}

Bytes Line50(const Bytes& start) {
    return Concat({start, Repeat(0x20, 50 - start.size())});
}

TEST_F(Exchanges, MessageDownloadStoresEightLinesAsReceived) {
    const Bytes yolka = Line50({0xF0, 0xAB, 0xAA, 0xA0});
    const Bytes test1 = Line50({0x54, 0x65, 0x73, 0x74, 0x20, 0x31});
    Open(0x00, {0x01});
    const Bytes check = pc_.Ask({0x00, 0x01}, 2);
    ASSERT_EQ(check.size(), 2u);
    EXPECT_NE(check, (Bytes{0x00, 0x00}));
    EXPECT_EQ(pc_.Ask(Concat({yolka, test1, Repeat(0x20, 300)}), 1), Bytes{0x10});

    const auto m = scale_.FindMessage(1);
    ASSERT_TRUE(m);
    EXPECT_EQ(Bytes(m->lines[0].begin(), m->lines[0].end()), yolka);
    EXPECT_EQ(Bytes(m->lines[1].begin(), m->lines[1].end()), test1);
    for (std::size_t k = 2; k < 8; ++k)
        EXPECT_EQ(Bytes(m->lines[k].begin(), m->lines[k].end()), Repeat(0x20, 50));
}

TEST_F(Exchanges, MessageNumbersOneToTwoHundredAreAccepted) {
    const std::pair<std::uint16_t, bool> cases[] = {{0, false},   {1, true},    {200, true},
                                                    {201, false}, {300, false}, {65535, false}};
    for (const auto& [number, accepted] : cases) {
        SCOPED_TRACE(number);
        Open(0x00, {0x01});
        const Bytes check = pc_.Ask(Word(number), 2);
        ASSERT_EQ(check.size(), 2u);
        EXPECT_EQ(check != Bytes({0x00, 0x00}), accepted);
        if (accepted) {
            EXPECT_EQ(pc_.Ask(Bytes(400, 0x20), 1), Bytes{0x10});
        }
        EXPECT_EQ(scale_.FindMessage(number).has_value(), accepted);
    }
}

Bytes UploadRecord(const sim::PluRecord& r) {
    return Concat({Word(r.plu), Long(std::uint32_t(r.itemCode)), Of(r.name1), Of(r.name2),
                   Long(std::uint32_t(r.price)), Word(r.shelfLife), Word(r.tare), Word(r.group),
                   Word(r.message)});
}

TEST_F(Exchanges, UploadSendsStoredPlusInNumberOrderAndRefusesPastTheEnd) {
    // Put in out of order: the upload goes by PLU number, not by arrival.
    for (std::uint16_t plu : {300, 7, 65535}) scale_.PutPlu(SamplePlu(plu));
    const std::uint16_t order[] = {7, 300, 65535};
    for (std::uint16_t request = 1; request <= 3; ++request) {
        SCOPED_TRACE(request);
        Open(0x05, {0x01});
        const Bytes check = pc_.Ask(Word(request), 2);
        ASSERT_EQ(check.size(), 2u);
        EXPECT_NE(check, (Bytes{0x00, 0x00}));
        EXPECT_EQ(pc_.Read(75), Concat({UploadRecord(SamplePlu(order[request - 1])), {0x10}}));
    }
    Open(0x05, {0x01});
    EXPECT_EQ(pc_.Ask(Word(4), 2), (Bytes{0x00, 0x00}));
    EXPECT_TRUE(pc_.Quiet(std::chrono::milliseconds(100))) << "no record after a refusal";
    Open(0x05, {0x01});
    EXPECT_EQ(pc_.Ask(Word(0), 2), (Bytes{0x00, 0x00}));
}

TEST_F(Exchanges, UploadSendsNameBytesExactlyAsStored) {
    sim::PluRecord r = SamplePlu(1);
    r.itemCode = -1;
    r.name1.fill(0x00);
    r.name1[0] = 0x20;
    r.name1[1] = 0x20;
    r.name1[2] = 0x80;
    r.name1[3] = 0x81;
    r.name2.fill(0x00);
    scale_.PutPlu(r);
    Open(0x05, {0x01});
    ASSERT_EQ(pc_.Ask({0x00, 0x01}, 2).size(), 2u);
    const Bytes record = pc_.Read(75);
    ASSERT_EQ(record.size(), 75u);
    EXPECT_EQ(Bytes(record.begin() + 2, record.begin() + 6), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Bytes(record.begin() + 6, record.begin() + 34),
              Concat({{0x20, 0x20, 0x80, 0x81}, Repeat(0x00, 24)}));
    EXPECT_EQ(Bytes(record.begin() + 34, record.begin() + 62), Repeat(0x00, 28));
}

TEST_F(Exchanges, DownloadedRecordComesBackUnchangedByUpload) {
    Open(0x02, {0x01});
    ASSERT_EQ(pc_.Ask({0x00, 0x01}, 2).size(), 2u);
    ASSERT_EQ(pc_.Ask(ExampleRowAfterCheck(), 1), Bytes{0x10});
    Open(0x05, {0x01});
    ASSERT_EQ(pc_.Ask({0x00, 0x01}, 2).size(), 2u);
    EXPECT_EQ(pc_.Read(75), Concat({{0x00, 0x01}, ExampleRowAfterCheck(), {0x10}}));
}

TEST_F(Exchanges, LogKeepsEachExchangeWithItsBytesAndHookSeesItStart) {
    std::vector<sim::ExchangeStart> starts;
    scale_.OnExchangeStart([&](const sim::ExchangeStart& s) { starts.push_back(s); });
    scale_.PutPlu(SamplePlu(5));
    Open(0x06, {});
    pc_.Read(12);
    for (int i = 0; i < 2; ++i) {
        Open(0x05, {0x01});
        pc_.Ask(Word(std::uint16_t(i + 1)), 2);
        pc_.Read(i == 0 ? 75 : 0, std::chrono::milliseconds(100));
    }
    ASSERT_TRUE(scale_.WaitExchanges(3, std::chrono::seconds(3)));
    scale_.OnExchangeStart(nullptr);

    const auto log = scale_.Exchanges();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].kind, sim::Kind::Readout);
    EXPECT_EQ(log[0].fromPc, (Bytes{0xA5, 0x06}));
    EXPECT_EQ(log[0].toPc.size(), 13u);
    EXPECT_EQ(log[1].kind, sim::Kind::PluUpload);
    EXPECT_EQ(log[1].number, 1);
    EXPECT_EQ(log[1].fromPc, (Bytes{0xA5, 0x05, 0x00, 0x01}));
    EXPECT_EQ(log[1].toPc.size(), 1u + 1 + 2 + 75);
    EXPECT_EQ(log[2].toPc, (Bytes{0x77, 0x01, 0x00, 0x00}));
    EXPECT_TRUE(log[2].complete);

    ASSERT_EQ(starts.size(), 3u);
    EXPECT_EQ(starts[2].kind, sim::Kind::PluUpload);
    EXPECT_EQ(starts[2].occurrence, 2);
    EXPECT_EQ(starts[2].number, 2);

    scale_.ClearReceived();
    EXPECT_TRUE(scale_.Received().empty());
    EXPECT_TRUE(scale_.Exchanges().empty());
}

TEST_F(Exchanges, PcClosingAndReopeningTheDeviceKeepsTheLine) {
    { PcSide other(scale_.SlavePath()); }
    PcSide again(scale_.SlavePath());
    EXPECT_EQ(again.Ask({0xA5}, 1), Bytes{0x77});
}

}  // namespace
