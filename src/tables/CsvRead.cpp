// Reading a list's CSV file: its encoding, its delimiter, its header, then its rows.
#include <algorithm>
#include <string_view>

#include "CodePage1251.h"
#include "CsvFile.h"
#include "CsvHeader.h"
#include "CsvRecords.h"
#include "TableFile.h"

namespace tables {
namespace {

const std::string kNotCsv = "Файл не похож на CSV-файл списка: ";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Columns past this many are not read: no list has them, and a binary line would make millions.
constexpr std::size_t kMaxColumns = 1000;

// Why the bytes are no text a spreadsheet would save; empty when they may be.
std::string NotTextReason(std::string_view bytes) {
    const std::string_view start = bytes.substr(0, 4);
    if (start.substr(0, 2) == "\xFF\xFE" || start.substr(0, 2) == "\xFE\xFF")
        return kNotCsv + "он в кодировке UTF-16; сохраните его как CSV в UTF-8";
    // Operators pick the workbook itself more often than any other wrong file.
    if (start == std::string_view("PK\x03\x04", 4) || start == "\xD0\xCF\x11\xE0")
        return kNotCsv + "это книга Excel или архив; сохраните список как CSV";
    if (LooksBinary(bytes)) return kNotCsv + "в нём двоичные данные";
    return {};
}

// The file's text in code page 1251: UTF-8 converted, any other bytes taken as code page 1251.
std::string Cp1251Text(std::string_view bytes) {
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());
    std::string text;
    if (Utf8ToCp1251(bytes, text)) return text;
    return std::string(bytes);
}

std::vector<std::string> FirstRecord(std::string_view text, char delimiter) {
    std::vector<std::string> first;
    ForEachCsvRecord(text, delimiter, kMaxColumns, [&](std::vector<std::string>& cells, int) {
        first = std::move(cells);
        return false;
    });
    return first;
}

// The delimiter that makes the most known titles of the header: "PLU;Цена, руб" is two
// titles split at ';' and none split at ','. ';' comes first, then tab, when as many.
char DelimiterOf(std::string_view text, int& known) {
    char best = ';';
    known = 0;
    for (const char delimiter : {';', '\t', ','}) {
        const int count = KnownTitleCount(FirstRecord(text, delimiter));
        if (count > known) {
            known = count;
            best = delimiter;
        }
    }
    return best;
}

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

// A price in roubles ("549,90", "549.9", "1 549") as kopecks ("54990", "54990", "154900").
// Returns why it is not one; a price is never rounded.
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

Row EmptyRow(ListKind kind) {
    Row row;
    if (kind == ListKind::Plu) std::fill(row.begin() + Column::Price, row.end(), "0");
    return row;
}

class Reader {
  public:
    explicit Reader(CsvRead& read) : read_(read) {}

    // Takes the header, then the rows; false once the file is refused.
    bool Take(std::vector<std::string>& cells, int line) {
        if (!headerRead_) return TakeHeader(cells);
        if (std::all_of(cells.begin(), cells.end(), [](const auto& c) { return c.empty(); }))
            return true;
        if (read_.rows.size() == kMaxTableRecords) {
            read_.refusal =
                "В файле больше " + std::to_string(kMaxTableRecords) + " записей: это не список";
            return false;
        }
        TakeRow(cells, line);
        return true;
    }

  private:
    bool TakeHeader(const std::vector<std::string>& cells) {
        headerRead_ = true;
        header_ = ReadCsvHeader(cells);
        read_.refusal = header_.refusal;
        read_.kind = header_.kind;
        read_.titles = header_.titles;
        read_.ignoredColumns = header_.ignored;
        read_.wholeNames = std::any_of(header_.columns.begin(), header_.columns.end(),
                                       [](auto c) { return c.source == CsvSource::WholeName; });
        return read_.refusal.empty();
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
    CsvHeader header_;
    bool headerRead_ = false;
};

std::string NoHeaderReason(std::string_view text) {
    if (FirstRecord(text, ';').empty()) return kNotCsv + "он пуст";
    return kNotCsv + "в первой строке нет названий столбцов списка";
}

}  // namespace

CsvRead ReadCsv(const std::string& bytes) {
    CsvRead read;
    if (static_cast<std::int64_t>(bytes.size()) > kMaxTableFileBytes) {
        read.refusal = "Файл больше 64 МБ: это не список";
        return read;
    }
    read.refusal = NotTextReason(bytes);
    if (!read.refusal.empty()) return read;
    const std::string text = Cp1251Text(bytes);
    int known = 0;
    const char delimiter = DelimiterOf(text, known);
    if (known == 0) {
        read.refusal = NoHeaderReason(text);
        return read;
    }
    // Each row is a line or more: room for them all at once spares moving them as they come.
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    read.rows.reserve(std::min<std::size_t>(lines, kMaxTableRecords));
    read.lines.reserve(read.rows.capacity());
    Reader reader(read);
    const bool parsed = ForEachCsvRecord(text, delimiter, kMaxColumns, [&](auto& cells, int line) {
        return reader.Take(cells, line);
    });
    if (!parsed) read.refusal = "Файл не прочитан: не хватило памяти";
    if (read.refusal.empty() && read.rows.empty()) read.refusal = "В файле нет ни одной записи";
    if (read.refusal.empty()) return read;
    // A refused file gives nothing but the reason.
    CsvRead refused;
    refused.refusal = std::move(read.refusal);
    return refused;
}

}  // namespace tables
