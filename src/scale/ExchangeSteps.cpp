#include "ExchangeSteps.h"

#include "Codec.h"

namespace scale::steps {

Answer ReadAnswer(Link& link, std::uint8_t expected) {
    std::uint8_t b = 0;
    if (!ReadByte(link, b)) return Answer::Silent;
    return b == expected ? Answer::Accepted : Answer::Refused;
}

Answer ReadNumberCheck(Link& link) {
    std::int32_t check = 0;
    if (!GetWord(link, check)) return Answer::Silent;
    return check != 0 ? Answer::Accepted : Answer::Refused;
}

Answer ReadAnyByte(Link& link) {
    std::uint8_t ignored = 0;
    return ReadByte(link, ignored) ? Answer::Accepted : Answer::Silent;
}

void SendText(TComm& comm, const std::string& text) {
    for (char c : text) comm.SendByte(ToScaleChar(static_cast<std::uint8_t>(c)));
}

}  // namespace scale::steps
