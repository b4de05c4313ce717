#include "LineTest.h"

namespace serial {

std::optional<std::int32_t> EventMaskOf(const std::string& text) {
    for (const EventName& event : kEventNames)
        if (text == event.name) return static_cast<std::int32_t>(event.bit);
    return std::nullopt;
}

std::string EventMaskText(std::int32_t mask) {
    std::string text;
    for (const EventName& event : kEventNames)
        if (static_cast<std::uint32_t>(mask) & event.bit)
            text += std::string("[") + event.name + "]";
    return text;
}

std::string NotAnIntegerMessage(const std::string& text) {
    return "'" + text + "' is not a valid integer value";
}

}  // namespace serial
