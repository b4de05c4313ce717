// The virtual scale's fault text: anything given on its command line either parses to a fault
// that can fire, or is refused with std::invalid_argument and a reason.

#include "FaultText.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "Check.h"

namespace {

// The fault written back in the command-line form.
std::string TextOf(const sim::Fault& f) {
    static const char* const kKinds[] = {"any", "", "readout", "plu", "msg", "upload"};
    static const char* const kSteps[] = {"ready", "accept", "check", "record", "closing"};
    static const char* const kActions[] = {"silence", "byte", "refuse", "stall", "hangup"};
    std::string text = kKinds[static_cast<int>(f.kind)];
    if (f.occurrence != 0) text += "@" + std::to_string(f.occurrence);
    if (f.number != 0) text += "#" + std::to_string(f.number);
    text += std::string(":") + kSteps[static_cast<int>(f.step)] + ":" +
            kActions[static_cast<int>(f.action)];
    if (f.action == sim::Action::Byte) {
        static const char kHex[] = "0123456789abcdef";
        text += std::string("=") + kHex[f.byte >> 4] + kHex[f.byte & 0xF];
    } else if (f.action == sim::Action::Stall || f.action == sim::Action::HangUp) {
        text += "=" + std::to_string(f.afterBytes);
        if (f.stallMs != 0) text += "/" + std::to_string(f.stallMs);
    }
    if (f.persistent) text += ":always";
    return text;
}

bool Same(const sim::Fault& a, const sim::Fault& b) {
    return a.kind == b.kind && a.occurrence == b.occurrence && a.number == b.number &&
           a.step == b.step && a.action == b.action && a.byte == b.byte &&
           a.afterBytes == b.afterBytes && a.stallMs == b.stallMs && a.persistent == b.persistent;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    sim::Fault fault;
    try {
        fault = sim::ParseFault(text);
    } catch (const std::invalid_argument&) {
        return 0;
    }
    // A fault that parses can fire, and reads the same when written out again.
    sim::CheckFault(fault);
    FUZZ_CHECK(fault.occurrence >= 0 && fault.number >= 0 && fault.stallMs >= 0);
    FUZZ_CHECK(Same(sim::ParseFault(TextOf(fault)), fault));
    return 0;
}
