#pragma once
// The rules of the line-test panels that need no widget: event-mask names and the decimal text of
// the byte panel.

#include <cstdint>
#include <optional>
#include <string>

#include "Decimal.h"
#include "SerialPlatform.h"

namespace serial {

// An event of the mask panel and its EV_ bit.
struct EventName {
    const char* name;
    std::uint32_t bit;
};

// In the panel list's order, which is also the order "Get" shows them in.
inline constexpr EventName kEventNames[] = {{"EV_CTS", kEvCts},
                                            {"EV_DSR", kEvDsr},
                                            {"EV_ERR", kEvErr},
                                            {"EV_RING", kEvRing},
                                            {"EV_RLSD", kEvRlsd}};

// The one bit a name selects; the match is exact and case-sensitive, so any other text (such as
// what EventMaskText writes) selects nothing.
std::optional<std::int32_t> EventMaskOf(const std::string& text);

// "[NAME]" for each of the five bits set, run together; other bits are not shown.
std::string EventMaskText(std::int32_t mask);

// "'<text>' is not a valid integer value": the byte panel's answer to text DecimalValue refuses.
std::string NotAnIntegerMessage(const std::string& text);

}  // namespace serial
