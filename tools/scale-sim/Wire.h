#pragma once
// The record layouts on the line, as the scale reads and sends them. Numbers are big-endian.

#include <cstddef>
#include <cstdint>

#include "Records.h"

namespace sim {

// One field of a record, in line order; the trace names each step after it.
struct Field {
    const char* name;
    std::size_t width;
};

// After the number check of a PLU download: item code, name 1, name 2, price, shelf life, tare,
// group, message number (72 bytes).
const std::vector<Field>& PluDownloadFields();
// After the number check of a PLU upload: the PLU number, then the download's fields (74 bytes).
const std::vector<Field>& PluUploadFields();
// After the number check of a message download: eight lines of 50 bytes.
const std::vector<Field>& MessageFields();
// The display readout: weight, unit price, total.
const std::vector<Field>& ReadoutFields();

std::size_t TotalWidth(const std::vector<Field>& fields);

void PutBigEndian(Bytes& out, std::uint32_t value, std::size_t width);
std::uint32_t GetBigEndian(const std::uint8_t* in, std::size_t width);

// A nonzero check for an accepted number that never equals the number itself, so a PC that
// compares the two fails here.
std::uint16_t NumberCheck(std::uint16_t number);

PluRecord DecodePluDownload(std::uint16_t plu, const Bytes& fields);
Bytes EncodePluUpload(const PluRecord& record);
Message DecodeMessage(std::uint16_t number, const Bytes& lines);
Bytes EncodeReadout(const Display& display);

}  // namespace sim
