#pragma once
// Lists as CSV files, for spreadsheets and accounting programs: read from UTF-8 or code page
// 1251 with ';', ',' or tab between cells, written with ';' and the table's titles.

#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "Table.h"

namespace tables {

// A cell the file holds that cannot be a cell of the table.
struct CsvCellProblem {
    int row = 0;         // index into CsvRead::rows
    int column = 0;      // the table column the cell was for
    std::string reason;  // Russian, UTF-8
};

enum class CsvEncoding { Utf8, Cp1251 };

// How a text file's bytes are taken when the operator says so; nothing: as they are detected.
struct CsvText {
    std::optional<CsvEncoding> encoding;
    std::optional<char> delimiter;  // ';', ',' or '\t'
};

struct CsvRead {
    std::string refusal;  // why the bytes are no list, Russian, UTF-8; empty when they are one
    ListKind kind = ListKind::Plu;
    // Data rows in code page 1251, with no marker row; a price in roubles is in kopecks here. A
    // column the file lacks is "0" where the table holds a number and empty where it holds text.
    std::vector<Row> rows;
    std::vector<int> lines;  // the line of the file each row begins on, counting from 1
    // The file's own title (UTF-8) of the column each table column came from; empty if none.
    std::array<std::string, kColumns> titles;
    // Name1 holds whole names from a single name column, not yet split into the two lines.
    bool wholeNames = false;
    std::vector<CsvCellProblem> problems;     // at most one a row, in row order
    std::vector<std::string> ignoredColumns;  // titles (UTF-8) of the columns the kind leaves
    std::vector<std::string> header;          // the header row's cells, code page 1251
    int headerLine = 0;
    // Refused for want of a choice of columns: no row is a header that can be read. The first
    // rows (code page 1251) and their lines are kept for the choice.
    bool headerUnknown = false;
    std::vector<std::vector<std::string>> preview;
    std::vector<int> previewLines;
    // How the text was taken, detected or told.
    CsvEncoding encoding = CsvEncoding::Utf8;
    char delimiter = ';';
};

struct HeaderRule;

// The bytes of a CSV file: UTF-8 with or without a byte order mark, else code page 1251; a row
// among the first ones names the columns. Refused when not a list's CSV, over kMaxTableFileBytes or
// over kMaxTableRecords records. Rows whose cells are all empty are no records.
CsvRead ReadCsv(const std::string& bytes);
CsvRead ReadCsv(const std::string& bytes, const HeaderRule& rule, const CsvText& text = {});

// The first kPreviewRows records with something in them, for a look before a choice of columns:
// rows and lines as CsvRead's preview keeps them, and how the text was taken. Refused as ReadCsv
// refuses a file that is no text; a file told to be UTF-8 that is not is refused too.
CsvRead FirstCsvRecords(const std::string& bytes, const CsvText& text = {});

// Data rows 1..dataRows (cut to the rows the table has) under the kind's titles, ';' between
// cells and CR LF after each row; UTF-8 starts with a byte order mark, which spreadsheets need
// to tell it from the system's code page.
std::string CsvBytes(const Table& table, ListKind kind, int dataRows, CsvEncoding encoding);

// Writes atomically, as WriteTableFile does; error names the cause in a few Russian words.
bool WriteCsvFile(const QString& path, const Table& table, ListKind kind, int dataRows,
                  CsvEncoding encoding, QString& error);

}  // namespace tables
