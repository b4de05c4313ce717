#include <string>

#include "Codec.h"
#include "ExchangeSteps.h"
#include "Exchanges.h"

namespace scale {

namespace {

// The record's fields in wire order; the closing byte follows.
enum class Kind { Word, Long, Name };
struct Field {
    int cell;
    Kind kind;
};
constexpr Field kRecord[] = {
    {PluCell::Plu, Kind::Word},   {PluCell::ItemCode, Kind::Long}, {PluCell::Name1, Kind::Name},
    {PluCell::Name2, Kind::Name}, {PluCell::Price, Kind::Long},    {PluCell::ShelfLife, Kind::Word},
    {PluCell::Tare, Kind::Word},  {PluCell::Group, Kind::Word},    {PluCell::Message, Kind::Word},
};
constexpr std::size_t kClosingBytes = 1;

constexpr std::size_t WidthOf(Kind kind) {
    return kind == Kind::Word ? 2 : kind == Kind::Long ? 4 : kNameLineLength;
}

constexpr std::size_t RecordLength() {
    std::size_t length = kClosingBytes;
    for (const Field& f : kRecord) length += WidthOf(f.kind);
    return length;
}

// A word is unsigned, a long signed.
std::string CellText(Kind kind, const std::string& bytes) {
    if (kind == Kind::Name) return DecodeNameLine(bytes);
    const std::uint32_t value = BigEndianOf(bytes);
    if (kind == Kind::Long) return std::to_string(static_cast<std::int32_t>(value));
    return std::to_string(value);
}

// The record is read in one piece, each byte within the read bound of the one before; the
// closing byte's value is ignored.
bool ReadRecord(Link& link, PluCells& cells) {
    std::string bytes;
    if (!ReadBytes(link, RecordLength(), bytes)) return false;
    std::size_t at = 0;
    for (const Field& f : kRecord) {
        cells[static_cast<std::size_t>(f.cell)] =
            CellText(f.kind, bytes.substr(at, WidthOf(f.kind)));
        at += WidthOf(f.kind);
    }
    return true;
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
