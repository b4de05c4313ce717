// A list's CSV file through the import: refused, or refused with its problems, or taken whole;
// what is taken passes the download's check and comes back the same through a CSV file.

#include "CsvImport.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "Check.h"
#include "Codec.h"
#include "CsvFile.h"
#include "RowValidation.h"
#include "TableFile.h"

namespace {

using tables::Row;

bool HoldsControls(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        for (const std::string& cell : row) {
            if (std::any_of(cell.begin(), cell.end(), [](char c) {
                    return static_cast<unsigned char>(c) < 0x20 && c != '\t';
                }))
                return true;
        }
    }
    return false;
}

void CheckRefused(const jobs::ImportReport& report) {
    FUZZ_CHECK(report.rows.empty());
    FUZZ_CHECK(report.problems.size() ==
               std::min<std::size_t>(report.problemCount, jobs::kProblemsListed));
    FUZZ_CHECK(report.refusal.empty() == (report.problemCount > 0));
    // Problems come after the header, by line; a row may have several, one a bad cell.
    int line = std::max(report.headerLine, 1);
    bool first = true;
    for (const jobs::ImportProblem& p : report.problems) {
        FUZZ_CHECK(first ? p.line > line : p.line >= line);
        FUZZ_CHECK(!p.column.empty() && !p.reason.empty());
        line = p.line;
        first = false;
    }
}

void CheckTaken(const jobs::ImportReport& report) {
    const std::vector<Row>& rows = report.rows;
    FUZZ_CHECK(rows.size() >= 2 &&
               static_cast<std::int64_t>(rows.size()) <= tables::kMaxTableRecords + 1);
    FUZZ_CHECK(rows.back() == Row{tables::kEndMarker});
    const scale::RowKind kind =
        report.kind == tables::ListKind::Plu ? scale::RowKind::Plu : scale::RowKind::Message;
    std::set<std::int32_t> numbers;
    for (std::size_t r = 0; r + 1 < rows.size(); ++r) {
        FUZZ_CHECK(scale::ValidateRow(rows[r], kind).ok());
        std::int32_t number = 0;
        FUZZ_CHECK(scale::CellToInt(rows[r][tables::kNumberColumn], number));
        FUZZ_CHECK(numbers.insert(number).second);
        for (const std::string& cell : rows[r])
            FUZZ_CHECK(cell.find_first_of("\r\n") == std::string::npos);
    }
}

// Control characters in a small file make it look binary, so only other rows must come back.
void CheckComesBack(const jobs::ImportReport& report) {
    if (HoldsControls(report.rows)) return;
    tables::Table table;
    tables::LoadRows(table, report.rows);
    const int dataRows = static_cast<int>(report.rows.size()) - 1;
    for (const auto encoding : {tables::CsvEncoding::Utf8, tables::CsvEncoding::Cp1251}) {
        const jobs::ImportReport again =
            jobs::ImportCsvBytes(tables::CsvBytes(table, report.kind, dataRows, encoding));
        FUZZ_CHECK(again.Imported());
        FUZZ_CHECK(again.kind == report.kind);
        FUZZ_CHECK(again.rows == report.rows);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const jobs::ImportReport report = jobs::ImportCsvBytes(bytes);
    FUZZ_CHECK(!jobs::ReportText(report).empty());
    if (!report.Imported()) {
        CheckRefused(report);
        return 0;
    }
    CheckTaken(report);
    CheckComesBack(report);
    return 0;
}
