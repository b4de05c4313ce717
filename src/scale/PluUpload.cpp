#include <string>

#include "Codec.h"
#include "ExchangeSteps.h"
#include "Exchanges.h"

namespace scale {

namespace {

bool ReadNameLine(Link& link, std::string& text) {
    std::string bytes;
    for (int i = 0; i < kNameLineLength; ++i) {
        std::uint8_t b = 0;
        if (!ReadByte(link, b)) return false;
        bytes += static_cast<char>(b);
    }
    text = DecodeNameLine(bytes);
    return true;
}

bool ReadWordText(Link& link, std::string& text) {
    std::int32_t value = 0;
    if (!GetWord(link, value)) return false;
    text = std::to_string(value);
    return true;
}

bool ReadLongText(Link& link, std::string& text) {
    std::int32_t value = 0;
    if (!GetLong(link, value)) return false;
    text = std::to_string(value);
    return true;
}

// The record in wire order, each field to its cell; the closing byte is read and its value
// ignored.
bool ReadRecord(Link& link, PluCells& cells) {
    PluCells read;
    const bool complete =
        ReadWordText(link, read[PluCell::Plu]) && ReadLongText(link, read[PluCell::ItemCode]) &&
        ReadNameLine(link, read[PluCell::Name1]) && ReadNameLine(link, read[PluCell::Name2]) &&
        ReadLongText(link, read[PluCell::Price]) && ReadWordText(link, read[PluCell::ShelfLife]) &&
        ReadWordText(link, read[PluCell::Tare]) && ReadWordText(link, read[PluCell::Group]) &&
        ReadWordText(link, read[PluCell::Message]) &&
        steps::ReadAnyByte(link) == steps::Answer::Accepted;
    if (complete) cells = read;
    return complete;
}

}  // namespace

UploadOutcome UploadPlu(Link& link, std::int32_t request, PluCells& cells) {
    using steps::FailureOf;
    if (auto failed = FailureOf(Handshake(link), UploadOutcome::U1, UploadOutcome::U2))
        return *failed;
    link.comm.SendByte(kCmdUploadPlu);
    if (auto failed = FailureOf(steps::ReadAnswer(link, kAcceptedByte), UploadOutcome::U3))
        return *failed;
    SendWord(link.comm, request);
    if (auto failed = FailureOf(steps::ReadNumberCheck(link), UploadOutcome::EndOfList))
        return *failed;
    return ReadRecord(link, cells) ? UploadOutcome::Record : UploadOutcome::Stalled;
}

}  // namespace scale
