#pragma once
// The header row of a list's CSV file: which column fills which cell of the table, and the kind
// of list the columns make.

#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "Table.h"

namespace tables {

// How a file's column fills a row: its cell as it is, a whole name for both name lines, or a
// price in roubles for the price in kopecks.
enum class CsvSource { Cell, WholeName, Roubles };

struct CsvColumn {
    int column = -1;  // the table column; -1 for a column not taken
    CsvSource source = CsvSource::Cell;
};

struct CsvHeader {
    std::string refusal;  // why the header makes no list, Russian, UTF-8
    ListKind kind = ListKind::Plu;
    std::vector<CsvColumn> columns;  // one for each cell of the header row
    // The file's title (UTF-8, as written) of the column that fills each table column.
    std::array<std::string, kColumns> titles;
    std::vector<std::string> ignored;  // titles of the columns not taken
};

// A header's cell (code page 1251) as its title reads: UTF-8, without surrounding spaces.
std::string Utf8Title(const std::string& cp1251);

// How many of the header's cells (code page 1251) are titles either kind of list knows.
int KnownTitleCount(const std::vector<std::string>& cells);

CsvHeader ReadCsvHeader(const std::vector<std::string>& cells);

// A title as titles are compared: case, surrounding spaces and "ё" against "е" do not count.
QString TitleKey(const QString& title);

// What a column may be taken as, named by its key ("plu", "name", "price_rub", "line3").
struct ColumnTarget {
    ListKind kind = ListKind::Plu;
    CsvColumn column;
};
std::optional<ColumnTarget> TargetOfKey(const std::string& key);
// Every key TargetOfKey takes: the PLU list's columns, name, price_rub, then the message list's.
std::vector<std::string> ColumnKeys();
// The key of a title either kind of list knows (code page 1251), or empty.
std::string KeyOfKnownTitle(const std::string& cell);

struct ChosenColumn;
using ColumnChoice = std::vector<ChosenColumn>;
// The header row's cells (code page 1251) taken as the choice says; the columns it leaves out
// are not taken.
CsvHeader HeaderOfChoice(const ColumnChoice& choice, const std::vector<std::string>& cells);

}  // namespace tables
