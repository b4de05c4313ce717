// Table file bytes through Open: parse, load into a table, and save again.

#include "TableFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Check.h"
#include "Table.h"

using tables::Row;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<Row> rows = tables::ParseTableFile(bytes);

    // At least one data row, then the marker row; never more rows than whole groups of lines.
    FUZZ_CHECK(rows.size() >= 2);
    FUZZ_CHECK(rows.size() <= size / tables::kColumns + 2);
    FUZZ_CHECK(rows.back() == (Row{tables::kEndMarker}));
    for (const Row& row : rows) {
        for (const std::string& cell : row) {
            FUZZ_CHECK(cell.find_first_of("\r\n") == std::string::npos);
        }
    }

    // The size check Open makes first agrees with what the parse builds.
    const bool tooMany = static_cast<std::int64_t>(rows.size()) - 1 > tables::kMaxTableRecords;
    FUZZ_CHECK(tables::HasTooManyRecords(bytes) == tooMany);

    tables::Table table;
    tables::LoadRows(table, rows);
    FUZZ_CHECK(table.RowCount() == static_cast<int>(rows.size()) + 1);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        FUZZ_CHECK(table.RowAt(static_cast<int>(r) + 1) == rows[r]);
    }

    // What Open built, saved and opened again, is what it was.
    const int dataRows = static_cast<int>(rows.size()) - 1;
    FUZZ_CHECK(tables::ParseTableFile(tables::TableFileBytes(table, dataRows)) == rows);
    return 0;
}
