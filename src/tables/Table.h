#pragma once
// The table: rows of nine cells of code page 1251 bytes. Row 0 holds the titles, rows 1..N the
// records and row N + 1 the end-marker row ("***" in column 0). Cell (c, r) is column c, row r.

#include <array>
#include <string>
#include <vector>

namespace tables {

constexpr int kColumns = 9;
constexpr const char* kEndMarker = "***";
// A record's number in either kind of list, and the end marker in the marker row.
constexpr int kNumberColumn = 0;

// The columns of a PLU list.
namespace Column {
constexpr int Plu = kNumberColumn, Name1 = 1, Name2 = 2, Price = 3, ShelfLife = 4, Tare = 5,
              ItemCode = 6, Group = 7, Message = 8;
}  // namespace Column

// The columns of a message list: the number, then its lines to the last column.
namespace MsgColumn {
constexpr int Number = kNumberColumn, FirstLine = 1;
}  // namespace MsgColumn

using Row = std::array<std::string, kColumns>;

enum class ListKind { Plu, Msg };

class Table {
  public:
    // Three empty rows, as the window starts.
    Table();

    int RowCount() const { return static_cast<int>(rows_.size()); }
    // Grows with empty rows or drops rows from the end.
    void SetRowCount(int count);
    const std::string& Cell(int col, int row) const { return rows_[row][col]; }
    // A cell is one line of a table file: a line break in text becomes a space.
    void SetCell(int col, int row, std::string text);
    const Row& RowAt(int row) const { return rows_[row]; }
    void SetRow(int row, Row cells) { rows_[row] = std::move(cells); }
    void ClearRow(int row) { rows_[row] = Row{}; }
    // Puts a row before row `at` (0 .. row count); the rows from `at` on move down by one.
    void InsertRow(int at, Row cells);
    // Removes row `at`; the rows below it move up by one.
    void RemoveRow(int at);
    // The same for several rows at once, without moving the rows below once per row.
    void InsertRows(int at, std::vector<Row> rows);
    void RemoveRows(int at, int count);
    // Keeps rows 0 .. first - 1 and puts `rows` after them, dropping the rest.
    void ReplaceRowsFrom(int first, std::vector<Row> rows);

  private:
    std::vector<Row> rows_;
};

// The text with each line break (CR LF, CR or LF) turned into one space, so that a cell saved
// as one line of a table file stays one line and the cells after it keep their places.
std::string OneLine(std::string text);

// The nine titles of a kind, code page 1251.
const Row& TitlesOf(ListKind kind);
void WriteTitles(Table& table, ListKind kind);
// Titles, one record ("1", and zeros from the price to the message number of a PLU list) and
// the marker row.
void MakeNewList(Table& table, ListKind kind);
// Sets the number cell of a row to "***" and empties the rest.
void WriteEndMarker(Table& table, int row);
// Open's result: keeps the title row and puts `rows` (from ParseTableFile) below it.
void LoadRows(Table& table, std::vector<Row> rows);

// Row commands; cur is the current row (1 .. row count - 1). A command given a row outside
// that range changes nothing. Add needs the title row and one more.
void AddRow(Table& table);
void CopyRow(Table& table, int cur);
void InsRow(Table& table, int cur);
// With at most one data row, leaves "1" and the marker row, growing a grid of two rows to three.
void DelRow(Table& table, int cur);

// Data rows before the first "***" in column 0; without one, every row after the titles.
int DataRowCount(const Table& table);

}  // namespace tables
