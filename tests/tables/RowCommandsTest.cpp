#include <gtest/gtest.h>

#include <functional>

#include "Table.h"
#include "TableTestSupport.h"

namespace tables {
namespace {

using testing::Cells;
using testing::kTitles;
using testing::Marker;
using testing::Record;
using testing::RowsOf;
using testing::TableOf;
const Row kEmpty{};
const Row kNewPluRecord = Cells({"1", "", "", "0", "0", "0", "0", "0", "0"});

// Titles, records 1, 2 and 3, and the marker row: five grid rows, the marker at row 4.
std::vector<Row> ThreeRecords() {
    return {kTitles, Record("1"), Record("2"), Record("3"), Marker()};
}

using Command = std::function<void(Table&)>;

Command Add() {
    return [](Table& t) { AddRow(t); };
}
Command Copy(int cur) {
    return [cur](Table& t) { CopyRow(t, cur); };
}
Command Ins(int cur) {
    return [cur](Table& t) { InsRow(t, cur); };
}
Command Del(int cur) {
    return [cur](Table& t) { DelRow(t, cur); };
}

struct Case {
    const char* name;
    std::vector<Row> before;
    Command command;
    std::vector<Row> after;
};

const Case kCases[] = {
    {"Add on a new PLU list",
     {kTitles, kNewPluRecord, Marker()},
     Add(),
     {kTitles, kNewPluRecord, kEmpty, Marker()}},
    {"Add on three records",
     ThreeRecords(),
     Add(),
     {kTitles, Record("1"), Record("2"), Record("3"), kEmpty, Marker()}},
    {"Add clears whatever the last row held",
     {kTitles, Record("1"), Record("9")},
     Add(),
     {kTitles, Record("1"), kEmpty, Marker()}},

    {"Copy row 1 of a new message list",
     {kTitles, Cells({"1"}), Marker()},
     Copy(1),
     {kTitles, Cells({"1"}), Cells({"1"}), Marker()}},
    {"Copy row 1",
     ThreeRecords(),
     Copy(1),
     {kTitles, Record("1"), Record("1"), Record("2"), Record("3"), Marker()}},
    {"Copy row 2",
     ThreeRecords(),
     Copy(2),
     {kTitles, Record("1"), Record("2"), Record("2"), Record("3"), Marker()}},
    {"Copy row 3",
     ThreeRecords(),
     Copy(3),
     {kTitles, Record("1"), Record("2"), Record("3"), Record("3"), Marker()}},
    {"Copy the marker row",
     ThreeRecords(),
     Copy(4),
     {kTitles, Record("1"), Record("2"), Record("3"), Marker(), Marker()}},

    {"Ins at row 1",
     ThreeRecords(),
     Ins(1),
     {kTitles, Record("1"), kEmpty, Record("2"), Record("3"), Marker()}},
    {"Ins at row 2",
     ThreeRecords(),
     Ins(2),
     {kTitles, Record("1"), Record("2"), kEmpty, Record("3"), Marker()}},
    {"Ins at row 3",
     ThreeRecords(),
     Ins(3),
     {kTitles, Record("1"), Record("2"), Record("3"), kEmpty, Marker()}},
    {"Ins at the marker row puts the empty row after it",
     ThreeRecords(),
     Ins(4),
     {kTitles, Record("1"), Record("2"), Record("3"), Marker(), kEmpty}},

    {"Del row 1", ThreeRecords(), Del(1), {kTitles, Record("2"), Record("3"), Marker()}},
    {"Del row 2", ThreeRecords(), Del(2), {kTitles, Record("1"), Record("3"), Marker()}},
    {"Del row 3", ThreeRecords(), Del(3), {kTitles, Record("1"), Record("2"), Marker()}},
    {"Del on the marker row deletes the last record",
     ThreeRecords(),
     Del(4),
     {kTitles, Record("1"), Record("2"), Marker()}},
    {"Del writes the marker over a last row that was not one",
     {kTitles, Record("1"), Record("2"), Record("3"), Record("4")},
     Del(1),
     {kTitles, Record("2"), Record("3"), Marker()}},
    {"Del on three rows keeps only the number 1",
     {kTitles, Record("7"), Marker()},
     Del(1),
     {kTitles, Cells({"1"}), Marker()}},
    {"Del on three rows with row 2 current",
     {kTitles, kNewPluRecord, Record("8")},
     Del(2),
     {kTitles, Cells({"1"}), Marker()}},
    {"Del on two rows grows the grid to three",
     {kTitles, Marker()},
     Del(1),
     {kTitles, Cells({"1"}), Marker()}},

    {"a current row past the grid changes nothing", ThreeRecords(), Del(5), ThreeRecords()},
    {"the title row is never current", ThreeRecords(), Copy(0), ThreeRecords()},
    {"Ins past the grid changes nothing", ThreeRecords(), Ins(5), ThreeRecords()},
};

TEST(RowCommands, GiveTheRowsOfTheExamples) {
    for (const Case& c : kCases) {
        Table table = TableOf(c.before);
        c.command(table);
        EXPECT_EQ(RowsOf(table), c.after) << c.name;
    }
}

TEST(RowCommands, DataRowCountStopsAtTheFirstMarkerInColumnZero) {
    struct CountCase {
        const char* name;
        std::vector<Row> rows;
        int expected;
    };
    const CountCase cases[] = {
        {"three records", ThreeRecords(), 3},
        {"a marker cell in a record", {kTitles, Record("1"), Marker(), Record("3"), Marker()}, 1},
        {"the marker in row 1", {kTitles, Marker(), Record("2"), Marker()}, 0},
        {"no marker: every row after the titles",
         {kTitles, Record("1"), Record("2"), Record("3")},
         3},
        {"\"***\" outside column 0 is data", {kTitles, Cells({"1", "***"}), Record("2")}, 2},
        {"\"***\" with a space is data", {kTitles, Cells({"*** "}), Marker()}, 1},
        {"only the title row", {kTitles}, 0},
    };
    for (const CountCase& c : cases) EXPECT_EQ(DataRowCount(TableOf(c.rows)), c.expected) << c.name;
}

}  // namespace
}  // namespace tables
