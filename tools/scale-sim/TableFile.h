#pragma once
// The scale's memory in the program's table files: one cell per line, CR LF, nine lines per
// record, then "***"; text in code page 1251. ".plu" and ".plw" hold PLUs, ".msg" messages.
// Loading treats each row as the program's download would send it (names centred, lines padded).

#include <array>
#include <string>
#include <vector>

#include "Records.h"

namespace sim {

class VirtualScale;

using Row = std::array<std::string, 9>;

enum class TableKind { Plu, Message };

// Throws std::runtime_error for any other extension.
TableKind KindOfFile(const std::string& path);

// Throws std::runtime_error naming the file and line of the first fault.
void LoadTableFile(VirtualScale& scale, const std::string& path);
void SaveTableFile(const VirtualScale& scale, const std::string& path);

// The pieces, for tests. ParseTable accepts CR LF, LF or CR line ends.
std::vector<Row> ParseTable(const std::string& content);
std::string FormatTable(const std::vector<Row>& rows);
PluRecord PluFromRow(const Row& row);
Row RowFromPlu(const PluRecord& record);
Message MessageFromRow(const Row& row);
Row RowFromMessage(const Message& message);

}  // namespace sim
