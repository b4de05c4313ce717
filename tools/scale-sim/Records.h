#pragma once
// What the virtual scale holds: PLU records, messages and the display, as the line carries them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kNameLength = 28;
constexpr std::size_t kMessageLineLength = 50;
constexpr std::size_t kMessageLines = 8;
constexpr int kMaxPluNumber = 65535;
constexpr int kMaxMessageNumber = 200;

// Code page 866 bytes exactly as received from the PC.
using NameLine = std::array<std::uint8_t, kNameLength>;
using MessageLine = std::array<std::uint8_t, kMessageLineLength>;

struct PluRecord {
    std::uint16_t plu = 0;
    std::int32_t itemCode = 0;
    NameLine name1{};
    NameLine name2{};
    std::int32_t price = 0;
    std::uint16_t shelfLife = 0;
    std::uint16_t tare = 0;
    std::uint16_t group = 0;
    std::uint16_t message = 0;

    bool operator==(const PluRecord& o) const;
    bool operator!=(const PluRecord& o) const { return !(*this == o); }
};

struct Message {
    std::uint16_t number = 0;
    std::array<MessageLine, kMessageLines> lines{};

    bool operator==(const Message& o) const { return number == o.number && lines == o.lines; }
    bool operator!=(const Message& o) const { return !(*this == o); }
};

// Weight in thousandths, unit price and total in hundredths of the displayed units.
struct Display {
    std::int32_t weight = 0;
    std::int32_t price = 0;
    std::int32_t total = 0;
};

}  // namespace sim
