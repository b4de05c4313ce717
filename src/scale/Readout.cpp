#include "ExchangeSteps.h"
#include "Exchanges.h"

namespace scale {

ReadoutOutcome ReadDisplay(Link& link, DisplayReading& reading) {
    reading = DisplayReading{};
    if (auto failed =
            steps::FailureOf(Handshake(link), ReadoutOutcome::NoAnswer, ReadoutOutcome::Refused))
        return *failed;
    link.comm.SendByte(kCmdReadDisplay);
    DisplayReading read;
    if (!GetLong(link, read.weight) || !GetLong(link, read.price) || !GetLong(link, read.total))
        return ReadoutOutcome::Stalled;
    reading = read;
    return ReadoutOutcome::Ok;
}

}  // namespace scale
