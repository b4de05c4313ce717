// Writing a list as a CSV file a spreadsheet opens as it is.
#include <algorithm>
#include <string_view>

#include "AtomicFile.h"
#include "CodePage1251.h"
#include "CsvFile.h"

namespace tables {
namespace {

constexpr char kDelimiter = ';';
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Quoted only where a reader would take the cell for something else: a delimiter, a quote or a
// line break inside it, or blanks at its ends, which some readers drop.
bool NeedsQuotes(const std::string& cell) {
    const auto special = [](char c) {
        return c == kDelimiter || c == '"' || c == '\r' || c == '\n';
    };
    if (std::any_of(cell.begin(), cell.end(), special)) return true;
    return !cell.empty() && (IsBlank(cell.front()) || IsBlank(cell.back()));
}

void AppendCell(const std::string& cell, std::string& out) {
    if (!NeedsQuotes(cell)) {
        out += cell;
        return;
    }
    out += '"';
    for (const char c : cell) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void AppendRow(const Row& row, std::string& out) {
    for (int c = 0; c < kColumns; ++c) {
        if (c > 0) out += kDelimiter;
        AppendCell(row[c], out);
    }
    out += kLineEnd;
}

}  // namespace

std::string CsvBytes(const Table& table, ListKind kind, int dataRows, CsvEncoding encoding) {
    const int rows = std::clamp(dataRows, 0, std::max(table.RowCount() - 1, 0));
    std::string text;
    AppendRow(TitlesOf(kind), text);
    for (int r = 1; r <= rows; ++r) AppendRow(table.RowAt(r), text);
    if (encoding == CsvEncoding::Cp1251) return text;
    std::string utf8(kUtf8Bom);
    AppendAsUtf8(text, utf8);
    return utf8;
}

bool WriteCsvFile(const QString& path, const Table& table, ListKind kind, int dataRows,
                  CsvEncoding encoding, QString& error) {
    return WriteFileWhole(
        path, [&] { return CsvBytes(table, kind, dataRows, encoding); }, error);
}

}  // namespace tables
