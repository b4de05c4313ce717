// Reading a list's CSV file: its encoding and its delimiter; its rows go on as any file's.
#include <algorithm>
#include <string_view>

#include "CodePage1251.h"
#include "CsvFile.h"
#include "CsvHeader.h"
#include "CsvRecords.h"
#include "ListRows.h"
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

std::vector<std::vector<std::string>> FirstRecords(std::string_view text, char delimiter) {
    std::vector<std::vector<std::string>> first;
    ForEachCsvRecord(text, delimiter, kMaxColumns, [&](std::vector<std::string>& cells, int) {
        first.push_back(std::move(cells));
        return first.size() < static_cast<std::size_t>(kPreviewRows);
    });
    return first;
}

// How well a row split at a delimiter reads as a header: the titles lists know or the choice
// names, then the cells it makes.
std::pair<int, std::size_t> HeaderScore(const std::vector<std::string>& cells,
                                        const HeaderRule& rule) {
    int titles = KnownTitleCount(cells);
    if (rule.choice)
        for (const ChosenColumn& c : *rule.choice)
            titles += c.number == 0 && CellOfChoice(c, cells) >= 0;
    const auto filled = static_cast<std::size_t>(
        std::count_if(cells.begin(), cells.end(), [](const auto& c) { return !c.empty(); }));
    return {titles, filled};
}

// The delimiter that makes the best header of the first rows: "PLU;Цена, руб" is two titles
// split at ';' and none split at ','. ';' comes first, then tab, when as good.
char DelimiterOf(std::string_view text, const HeaderRule& rule) {
    char best = ';';
    std::pair<int, std::size_t> top{0, 0};
    for (const char delimiter : {';', '\t', ','}) {
        for (const auto& cells : FirstRecords(text, delimiter)) {
            const auto score = HeaderScore(cells, rule);
            if (score > top) {
                top = score;
                best = delimiter;
            }
        }
    }
    return best;
}

}  // namespace

CsvRead ReadCsv(const std::string& bytes) {
    return ReadCsv(bytes, HeaderRule{});
}

CsvRead ReadCsv(const std::string& bytes, const HeaderRule& rule) {
    CsvRead read;
    if (static_cast<std::int64_t>(bytes.size()) > kMaxTableFileBytes) {
        read.refusal = "Файл больше 64 МБ: это не список";
        return read;
    }
    read.refusal = NotTextReason(bytes);
    if (!read.refusal.empty()) return read;
    const std::string text = Cp1251Text(bytes);
    if (FirstRecords(text, ';').empty()) {
        read.refusal = kNotCsv + "он пуст";
        return read;
    }
    const char delimiter = DelimiterOf(text, rule);
    // Each row is a line or more: room for them all at once spares moving them as they come.
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    return ReadListRows(
        [&](const CsvRecordSink& onRow) -> std::string {
            if (!ForEachCsvRecord(text, delimiter, kMaxColumns, onRow))
                return "Файл не прочитан: не хватило памяти";
            return {};
        },
        rule, lines);
}

}  // namespace tables
