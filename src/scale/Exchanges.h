#pragma once
// The four exchanges with the scale. Each returns an outcome and shows nothing; the window turns
// outcomes into messages. "Stalled" is the scale falling silent after its first answer.

#include <array>
#include <cstdint>
#include <string>

#include "Link.h"

namespace scale {

struct DisplayReading {
    std::int32_t weight = 0;  // thousandths
    std::int32_t price = 0;   // hundredths
    std::int32_t total = 0;   // hundredths
};
enum class ReadoutOutcome { Ok, NoAnswer, Refused, Stalled };
// Handshake, 0x06, twelve value bytes. reading is zero unless the outcome is Ok.
ReadoutOutcome ReadDisplay(Link& link, DisplayReading& reading);

// One PLU row as it goes on the wire; names in code page 1251.
struct PluRecord {
    std::int32_t plu = 0;
    std::string name1;
    std::string name2;
    std::int32_t price = 0;
    std::int32_t shelfLife = 0;
    std::int32_t tare = 0;
    std::int32_t itemCode = 0;
    std::int32_t group = 0;
    std::int32_t message = 0;
};

// T1 no answer to 0xA5, T2 a reply other than 0x77, T3 a reply to 0x02 other than 0x01,
// T4 the number refused.
enum class PluOutcome { Ok, T1, T2, T3, T4, Stalled };
PluOutcome DownloadPlu(Link& link, const PluRecord& record);

// F1 no answer to 0xA5, F2 not 0x77, F3 no answer to 0x00, F4 not 0x01, F5 number refused,
// F6 a closing byte other than 0x10.
enum class MsgOutcome { Ok, F1, F2, F3, F4, F5, F6, Stalled };
// number is the row's number cell through MessageNumberOf; lines are cut or padded to 50.
MsgOutcome DownloadMsg(Link& link, std::int32_t number, const std::array<std::string, 8>& lines);

// Where each field stands in a row of cell texts: in PluCells and in the rows ValidateRow
// checks. This is the table's column order (tables::Column); scale cannot see the table, so
// jobs, which hands rows between the two, checks that both say the same.
namespace PluCell {
constexpr int Plu = 0, Name1 = 1, Name2 = 2, Price = 3, ShelfLife = 4, Tare = 5, ItemCode = 6,
              Group = 7, Message = 8;
constexpr int kCount = 9;
}  // namespace PluCell
namespace MsgCell {
constexpr int Number = 0, FirstLine = 1;
}  // namespace MsgCell

// Fields of an uploaded PLU as cell texts, by PluCell.
using PluCells = std::array<std::string, PluCell::kCount>;
// U1 no answer to 0xA5, U2 not 0x77, U3 a reply to 0x05 other than 0x01.
enum class UploadOutcome { Record, EndOfList, U1, U2, U3, Stalled };
// cells are written only when the outcome is Record.
UploadOutcome UploadPlu(Link& link, std::int32_t request, PluCells& cells);

}  // namespace scale
