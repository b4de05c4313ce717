// A workbook's bytes through its reader, then through the import with the columns chosen: rows
// come in order, each with something in it and no wider than a sheet is read; the import is
// refused or takes rows the download would take.

#include "SheetRows.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "Check.h"
#include "CsvImport.h"
#include "SheetFile.h"

namespace {

constexpr tables::SheetFormat kFormat = tables::SheetFormat::QVSCALE_SHEET_FORMAT;

void CheckRows(const std::string& bytes) {
    int last = 0;
    tables::ForEachSheetRow(bytes, kFormat, {}, [&](std::vector<std::string>& cells, int line) {
        FUZZ_CHECK(line > last);
        last = line;
        FUZZ_CHECK(!cells.empty() && cells.size() <= tables::kMaxSheetColumns);
        bool filled = false;
        for (const std::string& cell : cells) filled = filled || !cell.empty();
        FUZZ_CHECK(filled);
        return true;
    });
}

void CheckImport(const std::string& bytes) {
    jobs::ImportOptions options;
    std::string error;
    options.columns = tables::ParseColumnChoice("1=plu,2=name,3=price_rub", error);
    const jobs::ImportReport report = jobs::ImportSheetBytes(bytes, kFormat, options);
    FUZZ_CHECK(!jobs::ReportText(report).empty());
    FUZZ_CHECK(report.Imported() == !report.rows.empty());
    if (report.Imported()) FUZZ_CHECK(report.rows.back() == tables::Row{tables::kEndMarker});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckRows(bytes);
    CheckImport(bytes);
    return 0;
}
