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

// The file's text in code page 1251: UTF-8 converted, any other bytes taken as code page 1251,
// unless told which they are. False when told UTF-8 of bytes that are not.
bool Cp1251Text(std::string_view bytes, const CsvText& told, std::string& text,
                CsvEncoding& encoding) {
    if (told.encoding == CsvEncoding::Cp1251) {
        encoding = CsvEncoding::Cp1251;
        text = std::string(bytes);
        return true;
    }
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());
    encoding = CsvEncoding::Utf8;
    if (Utf8ToCp1251(bytes, text)) return true;
    if (told.encoding) return false;
    encoding = CsvEncoding::Cp1251;
    text = std::string(bytes);
    return true;
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

// The text of the bytes and how it is taken; refusal says why the bytes are no list's text.
struct CsvTextRead {
    std::string refusal;
    std::string text;
    CsvEncoding encoding = CsvEncoding::Utf8;
    char delimiter = ';';
};

CsvTextRead TextOf(const std::string& bytes, const CsvText& told, const HeaderRule& rule) {
    CsvTextRead read;
    read.refusal = static_cast<std::int64_t>(bytes.size()) > kMaxTableFileBytes
                       ? "Файл больше 64 МБ: это не список"
                       : NotTextReason(bytes);
    if (!read.refusal.empty()) return read;
    if (!Cp1251Text(bytes, told, read.text, read.encoding))
        read.refusal = kNotCsv + "он не в кодировке UTF-8";
    else if (FirstRecords(read.text, ';').empty())
        read.refusal = kNotCsv + "он пуст";
    else
        read.delimiter = told.delimiter ? *told.delimiter : DelimiterOf(read.text, rule);
    return read;
}

}  // namespace

CsvRead ReadCsv(const std::string& bytes) {
    return ReadCsv(bytes, HeaderRule{});
}

CsvRead ReadCsv(const std::string& bytes, const HeaderRule& rule, const CsvText& told) {
    const CsvTextRead text = TextOf(bytes, told, rule);
    CsvRead read;
    read.refusal = text.refusal;
    if (!read.refusal.empty()) return read;
    // Each row is a line or more: room for them all at once spares moving them as they come.
    const auto lines =
        static_cast<std::size_t>(std::count(text.text.begin(), text.text.end(), '\n'));
    read = ReadListRows(
        [&](const CsvRecordSink& onRow) -> std::string {
            if (!ForEachCsvRecord(text.text, text.delimiter, kMaxColumns, onRow))
                return "Файл не прочитан: не хватило памяти";
            return {};
        },
        rule, lines);
    read.encoding = text.encoding;
    read.delimiter = text.delimiter;
    return read;
}

CsvRead FirstCsvRecords(const std::string& bytes, const CsvText& told) {
    const CsvTextRead text = TextOf(bytes, told, HeaderRule{});
    CsvRead read;
    read.refusal = text.refusal;
    read.encoding = text.encoding;
    read.delimiter = text.delimiter;
    if (!read.refusal.empty()) return read;
    ForEachCsvRecord(text.text, text.delimiter, kMaxColumns,
                     [&](std::vector<std::string>& cells, int line) {
                         if (std::all_of(cells.begin(), cells.end(),
                                         [](const std::string& c) { return c.empty(); }))
                             return true;
                         read.preview.push_back(std::move(cells));
                         read.previewLines.push_back(line);
                         return read.preview.size() < static_cast<std::size_t>(kPreviewRows);
                     });
    return read;
}

}  // namespace tables
