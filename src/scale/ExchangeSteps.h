#pragma once
// Steps the exchanges share, and the way a failed step becomes an exchange's outcome.

#include <cstdint>
#include <optional>
#include <string>

#include "Link.h"

namespace scale::steps {

// How the scale answered a step that expects a byte or a number check.
enum class Answer { Accepted, Refused, Silent };

// Reads one byte within the read bound: accepted when it is `expected`.
Answer ReadAnswer(Link& link, std::uint8_t expected);
// Reads the 2-byte number check: refused when it is 0, any other value accepts.
Answer ReadNumberCheck(Link& link);
// Reads a byte whose value does not matter.
Answer ReadAnyByte(Link& link);
// Each byte of a code page 1251 text through ToScaleChar, one SendByte each.
void SendText(TComm& comm, const std::string& text);

// The outcome that ends the exchange at a step, or nothing when the step went through.
template <typename Outcome>
std::optional<Outcome> FailureOf(HandshakeResult result, Outcome noAnswer, Outcome refused) {
    if (result == HandshakeResult::NoAnswer) return noAnswer;
    if (result == HandshakeResult::Refused) return refused;
    return std::nullopt;
}

template <typename Outcome>
std::optional<Outcome> FailureOf(Answer answer, Outcome refused) {
    if (answer == Answer::Silent) return Outcome::Stalled;
    if (answer == Answer::Refused) return refused;
    return std::nullopt;
}

}  // namespace scale::steps
