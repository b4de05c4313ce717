// The file format in memory: the bytes Save writes and the rows Open builds from them.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "TableFile.h"

namespace tables {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// Lines as the line buffer sees them: CR LF, a lone CR and a lone LF each end a line, and a
// break at the very end starts no further line.
class LineCursor {
  public:
    explicit LineCursor(std::string_view bytes) : bytes_(bytes) {}

    bool Next(std::string_view& line) {
        if (at_ >= bytes_.size()) return false;
        const std::size_t end = std::min(NextOf('\r', nextCr_), NextOf('\n', nextLf_));
        line = bytes_.substr(at_, end - at_);
        const bool crlf = end + 1 < bytes_.size() && bytes_[end] == '\r' && bytes_[end + 1] == '\n';
        at_ = end + (crlf ? 2 : 1);
        return true;
    }

  private:
    // The next CR or LF at or after the cursor. Each is searched for again only once the cursor
    // has passed the last one found, so a file of CR-only or LF-only lines is scanned once.
    std::size_t NextOf(char c, std::size_t& cached) const {
        if (cached != kUnknown && cached >= at_) return cached;
        const void* found = std::memchr(bytes_.data() + at_, c, bytes_.size() - at_);
        cached = found ? static_cast<std::size_t>(static_cast<const char*>(found) - bytes_.data())
                       : bytes_.size();
        return cached;
    }

    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
    std::string_view bytes_;
    std::size_t at_ = 0;
    std::size_t nextCr_ = kUnknown;
    std::size_t nextLf_ = kUnknown;
};

// The index of the first line from line 1 on that is exactly "***"; without one, the number
// of lines, so the search ends at the file's last line. Gives up at lineLimit.
long long MarkerLine(std::string_view bytes, long long lineLimit = -1) {
    LineCursor lines(bytes);
    std::string_view line;
    long long index = 0;
    while (index != lineLimit && lines.Next(line)) {
        if (index >= 1 && line == kEndMarker) break;
        ++index;
    }
    return index;
}

// k div 9 rows, or one when k is 9 or less: a last incomplete row is dropped.
long long DataRowsBefore(long long markerLine) {
    return std::max(markerLine / kColumns, 1LL);
}

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

bool HasTooManyRecords(const std::string& bytes) {
    const long long lineLimit = (kMaxTableRecords + 1) * kColumns;
    return DataRowsBefore(MarkerLine(bytes, lineLimit)) > kMaxTableRecords;
}

std::vector<Row> ParseTableFile(const std::string& bytes) {
    const long long dataRows = DataRowsBefore(MarkerLine(bytes));
    std::vector<Row> rows(static_cast<std::size_t>(dataRows + 1));
    LineCursor lines(bytes);
    std::string_view line;
    for (long long i = 0; i < dataRows * kColumns && lines.Next(line); ++i) {
        rows[i / kColumns][i % kColumns] = std::string(line);
    }
    rows.back()[kNumberColumn] = kEndMarker;
    return rows;
}

}  // namespace tables
