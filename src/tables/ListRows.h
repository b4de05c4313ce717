#pragma once
// A list from the rows of any file (CSV or a sheet): its header found among the first rows, the
// rows under it taken as the header's columns say.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ColumnChoice.h"
#include "CsvFile.h"
#include "CsvRecords.h"

namespace tables {

// The header is looked for in this many first rows; as many are kept for a choice of columns.
constexpr int kPreviewRows = 20;

struct HeaderRule {
    std::optional<ColumnChoice> choice;  // none: the titles lists know, or a remembered choice
    int headerLine = 0;                  // the header's line or sheet row; 0 to find it
    // A choice once made for a header row with these cells (code page 1251).
    std::function<std::optional<ColumnChoice>(const std::vector<std::string>& cells)> remembered;
};

// Calls the sink with each row that has a cell; returns why the file cannot be read, or nothing.
using RowReader = std::function<std::string(const CsvRecordSink& onRow)>;

// Refused as ReadCsv refuses, and with headerUnknown set when no row is a header the rule can
// read: then preview holds the first rows, for a choice of columns. Room is made for
// expectedRows at once, when the caller can tell.
CsvRead ReadListRows(const RowReader& rows, const HeaderRule& rule, std::size_t expectedRows = 0);

// Every cell of a price in roubles ("549,90", "549.9", "1 549") as kopecks; returns why a cell
// is not one. A price is never rounded.
std::string RoublesToKopecks(std::string& cell);

}  // namespace tables
