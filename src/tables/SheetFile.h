#pragma once
// Lists kept as spreadsheet files (.xlsx from Excel, .ods from LibreOffice, older .xls): the
// cells of one sheet row by row, as the sheet shows them.

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "CsvRecords.h"
#include "Table.h"

namespace tables {

enum class SheetFormat { Xlsx, Ods, Xls };

// By the file's extension, whatever the case; nothing for a text file.
std::optional<SheetFormat> SheetFormatOfName(const QString& path);

// What a workbook's zip may unpack to, all its entries together: a bomb of a few kilobytes that
// unpacks to gigabytes is refused by its declared sizes, or by the bytes once they pass this.
constexpr std::int64_t kMaxUnpackedBytes = 256LL * 1024 * 1024;

// Calls onRow for each row of the sheet named (the first one when sheet is empty) that has a
// cell with something in it: its cells in code page 1251, its number as the sheet shows it from
// 1. Stops when onRow returns false. Returns why the bytes cannot be read (Russian, UTF-8), or
// nothing.
std::string ForEachSheetRow(const std::string& bytes, SheetFormat format, const QString& sheet,
                            const CsvRecordSink& onRow);

// Data rows 1..dataRows (cut to the rows the table has) as an .xlsx workbook: the kind's titles
// in a frozen header row, each cell that holds a whole number as a number, the rest as text.
// Written whole or not at all, as WriteCsvFile writes; error names the cause.
bool WriteXlsxFile(const QString& path, const Table& table, ListKind kind, int dataRows,
                   QString& error);
// The programs that write .xlsx and read .xls, each in its own process (qvscale-xlsx,
// qvscale-xls): in $QVSCALE_HELPER_DIR when set, else beside the running program when there,
// else where the package installs them beside its bin folder (../libexec/qvscale).
QString HelperProgram(const QString& name);

// A number as a spreadsheet shows it: whole numbers with all their digits (a 13-digit barcode),
// others at 15 significant digits, so 549.89999999999998 is 549.9 and 65.0 is 65.
std::string ShownNumber(double value);
// The same for a number stored as text ("549.89999999999998"); text that is no number stays.
std::string ShownNumber(std::string_view stored);

}  // namespace tables
