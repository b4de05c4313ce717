#include "Codec.h"
#include "ExchangeSteps.h"
#include "Exchanges.h"

namespace scale {

MsgOutcome DownloadMsg(Link& link, std::int32_t number, const std::array<std::string, 8>& lines) {
    using steps::FailureOf;
    if (auto failed = FailureOf(Handshake(link), MsgOutcome::F1, MsgOutcome::F2)) return *failed;
    link.comm.SendByte(kCmdMessageDownload);
    // Scales without messages stay silent here, so this answer has the reply time-out.
    if (!WaitReply(link)) return MsgOutcome::F3;
    if (auto failed = FailureOf(steps::ReadAnswer(link, kAcceptedByte), MsgOutcome::F4))
        return *failed;
    SendWord(link.comm, number);
    if (auto failed = FailureOf(steps::ReadNumberCheck(link), MsgOutcome::F5)) return *failed;
    for (const std::string& line : lines) steps::SendText(link.comm, PrepareMessageLine(line));
    if (auto failed = FailureOf(steps::ReadAnswer(link, kClosingByte), MsgOutcome::F6))
        return *failed;
    return MsgOutcome::Ok;
}

}  // namespace scale
