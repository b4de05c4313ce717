// Rows of cells into a list: the header found, then each row under it taken into the table's
// columns and its cells checked as they are read.
#include "ListRows.h"

#include <algorithm>

#include "CodePage1251.h"
#include "TableFile.h"

namespace tables {
namespace {

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Spreadsheets show a price with a space or a no-break space (0xA0) between groups of digits.
bool IsSpace(char c) {
    return c == ' ' || c == '\xA0';
}

std::string NotANumber(const std::string& cell) {
    return "не число: «" + Cp1251ToUtf8(cell) + "»";
}

Row EmptyRow(ListKind kind) {
    Row row;
    if (kind == ListKind::Plu) std::fill(row.begin() + Column::Price, row.end(), "0");
    return row;
}

bool IsEmpty(const std::vector<std::string>& cells) {
    return std::all_of(cells.begin(), cells.end(), [](const auto& c) { return c.empty(); });
}

std::string NoHeaderAt(int line) {
    return "В строке " + std::to_string(line) + " нет заголовка";
}

class Reader {
  public:
    Reader(CsvRead& read, const HeaderRule& rule) : read_(read), rule_(rule) {}

    // Looks for the header, then takes the rows; false once the file is refused or read enough.
    bool Take(std::vector<std::string>& cells, int line) {
        if (IsEmpty(cells)) return true;
        if (!headerRead_) return LookForHeader(cells, line);
        if (read_.headerUnknown) return Preview(cells, line);
        if (read_.rows.size() == kMaxTableRecords) {
            read_.refusal =
                "В файле больше " + std::to_string(kMaxTableRecords) + " записей: это не список";
            return false;
        }
        TakeRow(cells, line);
        return true;
    }

    // What is said when the rows ended before a header.
    void Finish() {
        if (headerRead_ || !read_.refusal.empty()) return;
        read_.headerUnknown = true;
        if (rule_.headerLine > 0)
            read_.refusal = NoHeaderAt(rule_.headerLine);
        else if (rule_.choice)
            read_.refusal = "Ни в одной из первых " + std::to_string(kPreviewRows) +
                            " строк нет всех выбранных столбцов";
        else
            read_.refusal = "В первых " + std::to_string(kPreviewRows) +
                            " строках файла нет названий столбцов списка";
    }

  private:
    bool Preview(const std::vector<std::string>& cells, int line) {
        read_.preview.push_back(cells);
        read_.previewLines.push_back(line);
        return read_.preview.size() < static_cast<std::size_t>(kPreviewRows);
    }

    bool LookForHeader(const std::vector<std::string>& cells, int line) {
        const bool more = Preview(cells, line);
        if (rule_.headerLine > 0 && line < rule_.headerLine) return true;
        if (rule_.headerLine > 0 && line > rule_.headerLine) {
            // The rows go on into the preview, for a choice of the right one.
            headerRead_ = true;
            read_.headerUnknown = true;
            read_.refusal = NoHeaderAt(rule_.headerLine);
            return more;
        }
        std::optional<ColumnChoice> choice = rule_.choice;
        if (!choice && rule_.remembered) choice = rule_.remembered(cells);
        const bool header = rule_.headerLine > 0 || (choice && RowFitsChoice(*choice, cells)) ||
                            (!rule_.choice && KnownTitleCount(cells) > 0);
        if (!header) return more;
        TakeHeader(choice ? HeaderOfChoice(*choice, cells) : ReadCsvHeader(cells), cells, line);
        if (read_.refusal.empty()) {
            read_.preview.clear();
            read_.previewLines.clear();
            return true;
        }
        // A header that cannot be read (no number column, two for one cell, a chosen title
        // missing) asks for a choice of columns, to be made from the first rows.
        read_.headerUnknown = true;
        return more;
    }

    void TakeHeader(CsvHeader header, const std::vector<std::string>& cells, int line) {
        headerRead_ = true;
        header_ = std::move(header);
        read_.refusal = header_.refusal;
        read_.kind = header_.kind;
        read_.titles = header_.titles;
        read_.ignoredColumns = header_.ignored;
        read_.header = cells;
        read_.headerLine = line;
        read_.wholeNames = std::any_of(header_.columns.begin(), header_.columns.end(),
                                       [](auto c) { return c.source == CsvSource::WholeName; });
    }

    void TakeRow(std::vector<std::string>& cells, int line) {
        Row row = EmptyRow(header_.kind);
        const int index = static_cast<int>(read_.rows.size());
        bool noted = NoteExtraCells(cells, index);
        for (std::size_t i = 0; i < header_.columns.size(); ++i) {
            const CsvColumn& column = header_.columns[i];
            if (column.column < 0) continue;
            std::string cell = i < cells.size() ? std::move(cells[i]) : std::string();
            std::string reason;
            // A cell is one line of a table file.
            if (std::any_of(cell.begin(), cell.end(), IsLineBreak))
                reason = "ячейка занимает несколько строк";
            else if (column.source == CsvSource::Roubles)
                reason = RoublesToKopecks(cell);
            if (!reason.empty() && !noted) {
                read_.problems.push_back({index, column.column, std::move(reason)});
                noted = true;
            }
            row[column.column] = std::move(cell);
        }
        read_.rows.push_back(std::move(row));
        read_.lines.push_back(line);
    }

    // A cell past the header's last column is most often a number split at the delimiter
    // ("549,90" between commas): every cell may be shifted, so the row is not taken. Empty
    // ones, from a delimiter at the line's end, hold nothing to lose.
    bool NoteExtraCells(const std::vector<std::string>& cells, int index) {
        const std::size_t columns = header_.columns.size();
        if (std::all_of(
                cells.begin() + static_cast<std::ptrdiff_t>(std::min(columns, cells.size())),
                cells.end(), [](const auto& c) { return c.empty(); }))
            return false;
        int last = 0;  // the column named: the header's last one taken into the table
        for (const CsvColumn& column : header_.columns)
            if (column.column >= 0) last = column.column;
        read_.problems.push_back(
            {index, last,
             "ячеек в строке больше, чем столбцов в заголовке: " + std::to_string(cells.size()) +
                 " вместо " + std::to_string(columns)});
        return true;
    }

    CsvRead& read_;
    const HeaderRule& rule_;
    CsvHeader header_;
    bool headerRead_ = false;
};

}  // namespace

std::string RoublesToKopecks(std::string& cell) {
    std::size_t begin = 0;
    std::size_t end = cell.size();
    while (begin < end && IsSpace(cell[begin])) ++begin;
    while (end > begin && IsSpace(cell[end - 1])) --end;
    std::string digits;
    std::size_t decimals = 0;
    bool point = false;
    for (std::size_t i = begin; i < end; ++i) {
        const char c = cell[i];
        if (IsDigit(c)) {
            digits += c;
            decimals += point ? 1 : 0;
        } else if ((c == ',' || c == '.') && !point && !digits.empty() && i + 1 < end) {
            point = true;
        } else if (!IsSpace(c) || point || !IsDigit(cell[i - 1]) || !IsDigit(cell[i + 1])) {
            return NotANumber(cell);
        }
    }
    if (digits.empty()) return NotANumber(cell);
    if (decimals > 2) return "больше двух знаков после запятой: «" + Cp1251ToUtf8(cell) + "»";
    digits.append(2 - decimals, '0');
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    cell = std::move(digits);
    return {};
}

CsvRead ReadListRows(const RowReader& rows, const HeaderRule& rule, std::size_t expectedRows) {
    CsvRead read;
    read.rows.reserve(std::min<std::size_t>(expectedRows, kMaxTableRecords));
    read.lines.reserve(read.rows.capacity());
    Reader reader(read, rule);
    const std::string failure =
        rows([&](std::vector<std::string>& cells, int line) { return reader.Take(cells, line); });
    if (read.refusal.empty()) read.refusal = failure;
    reader.Finish();
    if (read.refusal.empty() && read.rows.empty()) read.refusal = "В файле нет ни одной записи";
    if (read.refusal.empty()) return read;
    // A refused file gives nothing but the reason, and the first rows when a choice would do.
    CsvRead refused;
    refused.refusal = std::move(read.refusal);
    refused.headerUnknown = read.headerUnknown;
    if (read.headerUnknown) {
        refused.header = std::move(read.header);
        refused.headerLine = read.headerLine;
        refused.preview = std::move(read.preview);
        refused.previewLines = std::move(read.previewLines);
    }
    return refused;
}

}  // namespace tables
