#include "ScaleFixture.h"

void ScaleTest::Open(std::uint8_t command, const sim::Bytes& answer) {
    ASSERT_EQ(pc_.Ask({0xA5}, 1), sim::Bytes{0x77});
    pc_.Send({command});
    if (!answer.empty()) {
        ASSERT_EQ(pc_.Read(answer.size()), answer);
    }
}

sim::PluRecord SamplePlu(std::uint16_t plu) {
    sim::PluRecord r;
    r.plu = plu;
    r.itemCode = 1000 + plu;
    r.name1.fill(0x20);
    r.name1[0] = static_cast<std::uint8_t>(0x80 + plu % 32);
    r.name2.fill(0x00);
    r.price = 100 * plu;
    r.shelfLife = 3;
    r.tare = 20;
    r.group = 7;
    r.message = 2;
    return r;
}

sim::Bytes Word(std::uint16_t v) {
    return {std::uint8_t(v >> 8), std::uint8_t(v)};
}

sim::Bytes Long(std::uint32_t v) {
    return {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
}

sim::Bytes Of(const sim::NameLine& line) {
    return sim::Bytes(line.begin(), line.end());
}
