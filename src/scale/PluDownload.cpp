#include "Codec.h"
#include "ExchangeSteps.h"
#include "Exchanges.h"

namespace scale {

namespace {

void SendRecordBody(TComm& comm, const PluRecord& record) {
    // The item code goes before the names, although it stands to their right in the table.
    SendLong(comm, record.itemCode);
    steps::SendText(comm, PrepareNameLine(record.name1));
    steps::SendText(comm, PrepareNameLine(record.name2));
    SendLong(comm, record.price);
    for (std::int32_t word : {record.shelfLife, record.tare, record.group, record.message})
        SendWord(comm, word);
}

}  // namespace

PluOutcome DownloadPlu(Link& link, const PluRecord& record) {
    using steps::FailureOf;
    if (auto failed = FailureOf(Handshake(link), PluOutcome::T1, PluOutcome::T2)) return *failed;
    link.comm.SendByte(kCmdPluDownload);
    if (auto failed = FailureOf(steps::ReadAnswer(link, kAcceptedByte), PluOutcome::T3))
        return *failed;
    SendWord(link.comm, record.plu);
    if (auto failed = FailureOf(steps::ReadNumberCheck(link), PluOutcome::T4)) return *failed;
    SendRecordBody(link.comm, record);
    // The closing byte means nothing to us: any value ends the row well.
    return steps::ReadAnyByte(link) == steps::Answer::Silent ? PluOutcome::Stalled : PluOutcome::Ok;
}

}  // namespace scale
