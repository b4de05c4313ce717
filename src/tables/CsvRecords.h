#pragma once
// The records of CSV text, quoted as RFC 4180 has it, each with the line of the file it begins on.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tables {

// Takes a record's cells (it may keep them) and the line it begins on; false stops the reading.
using CsvRecordSink = std::function<bool(std::vector<std::string>& cells, int line)>;

// Calls onRecord for each record, keeping at most maxCells cells of each. Lines count from 1 at
// every CR LF, CR or LF, those inside quoted cells too, as an editor numbers them; a blank line
// is no record. Spaces around a cell are the cell's, as spreadsheets keep them. False when the
// parser ran out of memory.
bool ForEachCsvRecord(std::string_view bytes, char delimiter, std::size_t maxCells,
                      const CsvRecordSink& onRecord);

}  // namespace tables
