// The file format in memory: the bytes Save writes and the rows Open builds from them.
#include <algorithm>
#include <string_view>

#include "TableFile.h"

namespace tables {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Lines as the line buffer sees them: CR LF, a lone CR and a lone LF each end a line, and a
// break at the very end starts no further line.
class LineCursor {
public:
    explicit LineCursor(std::string_view bytes) : rest_(bytes) {}

    bool Next(std::string_view& line) {
        if (rest_.empty()) return false;
        const std::size_t end = rest_.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            line = rest_;
            rest_ = {};
            return true;
        }
        line = rest_.substr(0, end);
        const bool crlf = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n';
        rest_.remove_prefix(end + (crlf ? 2 : 1));
        return true;
    }

private:
    std::string_view rest_;
};

// The index of the first line from line 1 on that is exactly "***"; without one, the number
// of lines, so the search ends at the file's last line.
long long MarkerLine(std::string_view bytes) {
    LineCursor lines(bytes);
    std::string_view line;
    long long index = 0;
    while (lines.Next(line)) {
        if (index >= 1 && line == kEndMarker) break;
        ++index;
    }
    return index;
}

// k div 9 rows, or one when k is 9 or less: a last incomplete row is dropped.
long long DataRowsBefore(long long markerLine) { return std::max(markerLine / kColumns, 1LL); }

}  // namespace

std::string TableFileBytes(const Table& table, int dataRows) {
    const int rows = std::clamp(dataRows, 0, std::max(table.RowCount() - 1, 0));
    std::string bytes;
    for (int r = 1; r <= rows; ++r) {
        for (const std::string& cell : table.RowAt(r)) bytes.append(cell).append(kLineEnd);
    }
    bytes.append(kEndMarker).append(kLineEnd);
    return bytes;
}

std::vector<Row> ParseTableFile(const std::string& bytes) {
    const long long dataRows = DataRowsBefore(MarkerLine(bytes));
    std::vector<Row> rows(static_cast<std::size_t>(dataRows + 1));
    LineCursor lines(bytes);
    std::string_view line;
    for (long long i = 0; i < dataRows * kColumns && lines.Next(line); ++i) {
        rows[i / kColumns][i % kColumns] = std::string(line);
    }
    rows.back()[0] = kEndMarker;
    return rows;
}

}  // namespace tables
