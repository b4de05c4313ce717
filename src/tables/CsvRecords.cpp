// CSV records through libcsv, fed a line at a time so that each record's first line is known.
#include "CsvRecords.h"

#include <csv.h>

namespace tables {
namespace {

// libcsv would trim spaces and tabs around an unquoted cell; spreadsheets keep them.
int NoSpaces(unsigned char) {
    return 0;
}

struct Record {
    std::vector<std::string> cells;
    std::size_t maxCells = 0;
    bool ended = false;
};

void OnCell(void* data, std::size_t size, void* record) {
    auto& r = *static_cast<Record*>(record);
    if (r.cells.size() < r.maxCells) r.cells.emplace_back(static_cast<const char*>(data), size);
}

void OnRecordEnd(int, void* record) {
    static_cast<Record*>(record)->ended = true;
}

class Parser {
  public:
    explicit Parser(char delimiter) {
        // Lenient: a stray quote in an exported name is read as text, not as a broken file.
        csv_init(&parser_, 0);
        csv_set_space_func(&parser_, NoSpaces);
        csv_set_delim(&parser_, static_cast<unsigned char>(delimiter));
        // libcsv grows a cell's buffer by this much at a time; its default of 128 bytes makes a
        // long cell cost a reallocation every 128 bytes.
        csv_set_blk_size(&parser_, 64 * 1024);
    }
    ~Parser() { csv_free(&parser_); }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    bool Parse(std::string_view bytes, Record& record) {
        return csv_parse(&parser_, bytes.data(), bytes.size(), OnCell, OnRecordEnd, &record) ==
               bytes.size();
    }
    void Finish(Record& record) { csv_fini(&parser_, OnCell, OnRecordEnd, &record); }

  private:
    csv_parser parser_{};
};

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// Where the next line begins: past the line break (CR LF, CR or LF) that ends the line at `at`.
std::size_t NextLine(std::string_view bytes, std::size_t at) {
    while (at < bytes.size() && !IsLineBreak(bytes[at])) ++at;
    if (at == bytes.size()) return at;
    const bool crlf = bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n';
    return at + (crlf ? 2 : 1);
}

}  // namespace

bool ForEachCsvRecord(std::string_view bytes, char delimiter, std::size_t maxCells,
                      const CsvRecordSink& onRecord) {
    Parser parser(delimiter);
    Record record;
    record.maxCells = maxCells;
    int line = 0;
    int first = 0;  // the line the record being read began on; 0 between records
    // A line ends a record only outside quotes, so a line fed whole ends at most one.
    const auto deliver = [&] {
        record.ended = false;
        const int begun = first;
        first = 0;
        const bool more = onRecord(record.cells, begun);
        record.cells.clear();
        return more;
    };
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t next = NextLine(bytes, at);
        ++line;
        if (first == 0 && !IsLineBreak(bytes[at])) first = line;
        if (!parser.Parse(bytes.substr(at, next - at), record)) return false;
        at = next;
        if (record.ended && !deliver()) return true;
    }
    parser.Finish(record);
    if (record.ended) deliver();
    return true;
}

}  // namespace tables
