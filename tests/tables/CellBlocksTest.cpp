#include <gtest/gtest.h>

#include "CellBlocks.h"
#include "RowsEdit.h"
#include "TableTestSupport.h"

namespace tables {
namespace {

using testing::Cells;
using testing::kTitles;
using testing::Marker;
using testing::Record;
using testing::RowsOf;
using testing::TableOf;

// Titles, records 1 and 2, and the marker row.
Table TwoRecords() {
    return TableOf({kTitles, Record("1"), Record("2"), Marker()});
}

// The table after an edit, and again after undoing it, as the undo stack puts bands back.
Table Applied(const Table& table, const RowsEdit& edit) {
    Table after = table;
    SpliceRows(after, edit.first, static_cast<int>(edit.before.size()), edit.after);
    return after;
}

Table Undone(const Table& changed, const RowsEdit& edit) {
    Table back = changed;
    SpliceRows(back, edit.first, static_cast<int>(edit.after.size()), edit.before);
    return back;
}

TEST(CellBlocks, SpreadsheetTextSplitsIntoRowsAndCells) {
    const struct {
        const char* text;
        Block block;
    } cases[] = {
        {"", {}},
        {"7\n", {{"7"}}},
        {"a\tb\r\nc\td\r\n", {{"a", "b"}, {"c", "d"}}},
        {"a\rb", {{"a"}, {"b"}}},
        {"a\t\tc\n\nx", {{"a", "", "c"}, {""}, {"x"}}},
        {"\t\n", {{"", ""}}},
        {"\"a\nb\"\tc\n", {{"a\nb", "c"}}},
        {"\"say \"\"hi\"\"\"\t\"\"\n", {{"say \"hi\"", ""}}},
        {"\"q\" text\t250", {{"\"q\" text", "250"}}},
        {"\"open\nx", {{"\"open"}, {"x"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseBlock(c.text), c.block);
    }
}

TEST(CellBlocks, CopiedCellsPasteBackIntoTheSameShape) {
    const Table table = TwoRecords();
    const CellRange range{2, 4, 1, 2};
    const std::string text = FormatBlock(table, range);
    EXPECT_EQ(text, "1.2\t1.3\t1.4\n2.2\t2.3\t2.4\n");
    // Cells a spreadsheet would split or unquote come back whole.
    const Table awkward = TableOf({kTitles, Cells({"a\tb", "\"q", "x\"y"})});
    EXPECT_EQ(ParseBlock(FormatBlock(awkward, {0, 2, 1, 1})), (Block{{"a\tb", "\"q", "x\"y"}}));
    Table emptied = TableOf({kTitles, Row{}, Row{}, Marker()});
    const Paste paste = PasteBlock(emptied, 2, 1, ParseBlock(text));
    const Table pasted = Applied(emptied, paste.edit);
    for (int r = 1; r <= 2; ++r)
        for (int c = 0; c < kColumns; ++c)
            EXPECT_EQ(pasted.Cell(c, r), c >= 2 && c <= 4 ? table.Cell(c, r) : "") << c << r;
}

TEST(CellBlocks, PasteFillsDownAndRightKeepingTitlesAndMarkerAndUndoesWhole) {
    const struct {
        const char* name;
        int col, row;
        const char* text;
        std::vector<Row> after;
        int columnsCut;
    } cases[] = {
        {"inside the rows",
         1,
         1,
         "x\ty\n",
         {kTitles, Cells({"1", "x", "y", "1.3", "1.4", "1.5", "1.6", "1.7", "1.8"}), Record("2"),
          Marker()},
         0},
        {"taller than the rows left: rows added before the marker",
         0,
         2,
         "a\nb\nc\n",
         {kTitles, Record("1"),
          Cells({"a", "2.1", "2.2", "2.3", "2.4", "2.5", "2.6", "2.7", "2.8"}), Cells({"b"}),
          Cells({"c"}), Marker()},
         0},
        {"on the marker row: all rows added before it",
         0,
         3,
         "9\n",
         {kTitles, Record("1"), Record("2"), Cells({"9"}), Marker()},
         0},
        {"past the last column: cut and counted",
         7,
         1,
         "p\tq\tr\ts\n",
         {kTitles, Cells({"1", "1.1", "1.2", "1.3", "1.4", "1.5", "1.6", "p", "q"}), Record("2"),
          Marker()},
         2},
        {"a row above the first is taken as the first",
         0,
         0,
         "z\n",
         {kTitles, Cells({"z", "1.1", "1.2", "1.3", "1.4", "1.5", "1.6", "1.7", "1.8"}),
          Record("2"), Marker()},
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Table table = TwoRecords();
        const Paste paste = PasteBlock(table, c.col, c.row, ParseBlock(c.text));
        const Table pasted = Applied(table, paste.edit);
        EXPECT_EQ(RowsOf(pasted), c.after);
        EXPECT_EQ(paste.columnsCut, c.columnsCut);
        EXPECT_EQ(RowsOf(Undone(pasted, paste.edit)), RowsOf(table));
    }
}

TEST(CellBlocks, PasteNeverGrowsAListPastTheRecordsAFileHolds) {
    const struct {
        int records, row, blockRows, rows, rowsCut;
    } cases[] = {{65534, 65535, 3, 1, 2}, {65535, 65535, 2, 1, 1}, {65535, 65536, 2, 0, 2}};
    for (const auto& c : cases) {
        Table table;
        table.SetRowCount(c.records + 2);
        WriteEndMarker(table, c.records + 1);
        const Paste paste = PasteBlock(table, 0, c.row, Block(c.blockRows, {"x"}));
        EXPECT_EQ(paste.rows, c.rows) << c.records;
        EXPECT_EQ(paste.rowsCut, c.rowsCut) << c.records;
        EXPECT_LE(Applied(table, paste.edit).RowCount(), 65535 + 2) << c.records;
    }
}

TEST(CellBlocks, PasteWithoutAMarkerRowAddsAtTheEnd) {
    const Table table = TableOf({kTitles, Record("1")});
    const Paste paste = PasteBlock(table, 0, 1, ParseBlock("5\n6\n"));
    EXPECT_EQ(RowsOf(Applied(table, paste.edit)),
              (std::vector<Row>{
                  kTitles, Cells({"5", "1.1", "1.2", "1.3", "1.4", "1.5", "1.6", "1.7", "1.8"}),
                  Cells({"6"})}));
}

TEST(CellBlocks, ClearEmptiesTheRangeButNeverTheMarkerRow) {
    const struct {
        const char* name;
        CellRange range;
        std::vector<Row> after;
    } cases[] = {
        {"one cell",
         {3, 3, 2, 2},
         {kTitles, Record("1"), Cells({"2", "2.1", "2.2", "", "2.4", "2.5", "2.6", "2.7", "2.8"}),
          Marker()}},
        {"rows down into the marker row", {0, 8, 2, 3}, {kTitles, Record("1"), Row{}, Marker()}},
        {"the marker row alone", {0, 8, 3, 3}, {kTitles, Record("1"), Record("2"), Marker()}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Table table = TwoRecords();
        const RowsEdit edit = ClearCells(table, c.range);
        EXPECT_EQ(RowsOf(Applied(table, edit)), c.after);
        EXPECT_EQ(RowsOf(Undone(Applied(table, edit), edit)), RowsOf(table));
    }
}

TEST(RowsEdit, TheDifferenceOfTwoTablesTurnsOneIntoTheOther) {
    const std::vector<Row> base = {kTitles, Record("1"), Record("2"), Record("3"), Marker()};
    const struct {
        const char* name;
        std::vector<Row> after;
        int bandRows;  // rows the edit keeps of the changed table
    } cases[] = {
        {"unchanged", base, 0},
        {"a row inserted", {kTitles, Record("1"), Row{}, Record("2"), Record("3"), Marker()}, 1},
        {"a row removed", {kTitles, Record("1"), Record("3"), Marker()}, 0},
        {"a cell changed", {kTitles, Record("1"), Record("x"), Record("3"), Marker()}, 1},
        {"the titles changed", {Record("t"), Record("1"), Record("2"), Record("3"), Marker()}, 1},
        {"all rows gone", {kTitles}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Table before = TableOf(base);
        const Table after = TableOf(c.after);
        const RowsEdit edit = DiffRows(before, after);
        EXPECT_EQ(static_cast<int>(edit.after.size()), c.bandRows);
        EXPECT_EQ(RowsOf(Applied(before, edit)), c.after);
        EXPECT_EQ(RowsOf(Undone(after, edit)), base);
    }
}

}  // namespace
}  // namespace tables
