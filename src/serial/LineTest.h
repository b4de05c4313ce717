#pragma once
// The rules of the line-test panels that need no widget: event-mask names and the decimal text of
// the byte panel.

#include <cstdint>
#include <optional>
#include <string>

namespace serial {

// The escape codes the modem-control panel sends (the platform's EscapeCommFunction codes).
enum EscapeCode : std::int32_t {
    kSetXoff = 1,
    kSetXon = 2,
    kSetRts = 3,
    kClrRts = 4,
    kSetDtr = 5,
    kClrDtr = 6,
};

// An event of the mask panel and its EV_ bit.
struct EventName {
    const char* name;
    std::uint32_t bit;
};

// In the panel list's order, which is also the order "Get" shows them in.
inline constexpr EventName kEventNames[] = {{"EV_CTS", 0x0008},
                                            {"EV_DSR", 0x0010},
                                            {"EV_ERR", 0x0080},
                                            {"EV_RING", 0x0100},
                                            {"EV_RLSD", 0x0020}};

// The one bit a name selects; the match is exact and case-sensitive, so any other text (such as
// what EventMaskText writes) selects nothing.
std::optional<std::int32_t> EventMaskOf(const std::string& text);

// "[NAME]" for each of the five bits set, run together; other bits are not shown.
std::string EventMaskText(std::int32_t mask);

// Decimal text as a 32-bit integer: leading spaces, an optional sign, digits, nothing after.
std::optional<std::int32_t> DecimalValue(const std::string& text);

// "'<text>' is not a valid integer value".
std::string NotAnIntegerMessage(const std::string& text);

}  // namespace serial
