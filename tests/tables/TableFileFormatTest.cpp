#include <gtest/gtest.h>

#include "Table.h"
#include "TableFile.h"
#include "TableTestSupport.h"

namespace tables {
namespace {

using testing::Cells;
using testing::Marker;
using testing::Record;
using testing::RowsOf;
using testing::TableOf;

std::string Lines(std::initializer_list<const char*> lines, const char* end = "\r\n") {
    std::string bytes;
    for (const char* line : lines) bytes.append(line).append(end);
    return bytes;
}

TEST(TableFileBytes, OfNewListsAreTenLines) {
    Table msg;
    MakeNewList(msg, ListKind::Msg);
    EXPECT_EQ(TableFileBytes(msg, DataRowCount(msg)),
              Lines({"1", "", "", "", "", "", "", "", "", "***"}));

    Table plu;
    MakeNewList(plu, ListKind::Plu);
    EXPECT_EQ(TableFileBytes(plu, DataRowCount(plu)),
              Lines({"1", "", "", "0", "0", "0", "0", "0", "0", "***"}));
}

// A program write, such as a name line from the scale, can carry a line break.
TEST(TableFileBytes, ACellWrittenWithALineBreakSavesAsOneLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"a\nb", "a b"},    {"a\r\nb", "a b"}, {"a\rb", "a b"},
        {"a\n\rb", "a  b"}, {"\r\n", " "},     {"ab", "ab"},
    };
    for (const auto& [written, held] : cases) {
        Table table;
        MakeNewList(table, ListKind::Plu);
        table.SetCell(1, 1, written);
        EXPECT_EQ(table.Cell(1, 1), held) << written;
        EXPECT_EQ(TableFileBytes(table, 1),
                  Lines({"1", held, "", "0", "0", "0", "0", "0", "0", "***"}))
            << written;
    }
}

TEST(TableFileBytes, KeepCyrillicAsCodePage1251) {
    // 17, "Молоко", "Сыр"
    const Table table =
        TableOf({Row{}, Cells({"17", "\xcc\xee\xeb\xee\xea\xee", "\xd1\xfb\xf0"}), Marker()});
    EXPECT_EQ(TableFileBytes(table, 1), Lines({"17", "\xcc\xee\xeb\xee\xea\xee", "\xd1\xfb\xf0", "",
                                               "", "", "", "", "", "***"}));
}

TEST(TableFileBytes, WriteNoMoreRowsThanTheTableHas) {
    const Table table = TableOf({Row{}, Record("1"), Record("2")});
    EXPECT_EQ(TableFileBytes(table, 0), "***\r\n");
    EXPECT_EQ(TableFileBytes(table, 5), TableFileBytes(table, 2));
    EXPECT_EQ(TableFileBytes(table, -1), "***\r\n");
}

// What Open leaves in the grid: the titles kept, the parsed rows below them.
std::vector<Row> Opened(const std::string& bytes) {
    Table table = TableOf({Cells({"titles"}), Record("old"), Marker()});
    LoadRows(table, ParseTableFile(bytes));
    return RowsOf(table);
}

TEST(TableFileRoundTrip, GivesBackTheSameCells) {
    // "Хлеб ржаной", "Ёлка"
    const Row bread = Cells({"5", "\xd5\xeb\xe5\xe1\x20\xf0\xe6\xe0\xed\xee\xe9", "", " 120 ", "3",
                             "0", "4600000000001", "2", "0"});
    const Row tree = Cells({"6", "\xa8\xeb\xea\xe0", "a;b|c", "", "", "", "", "", "\xb9"});
    // The second is two records: the marker at line 18 and four grid rows after Open.
    std::vector<std::vector<Row>> tables = {{Cells({"titles"}), bread, Marker()},
                                            {Cells({"titles"}), bread, tree, Marker()}};
    std::vector<Row> many = {Cells({"titles"})};
    for (int i = 0; i < 40; ++i) many.push_back(Record(std::to_string(i)));
    many.push_back(Marker());
    tables.push_back(many);

    for (const auto& rows : tables) {
        const Table saved = TableOf(rows);
        EXPECT_EQ(Opened(TableFileBytes(saved, DataRowCount(saved))), rows)
            << rows.size() << " rows";
    }
}

struct ParseCase {
    const char* name;
    std::string bytes;
    std::vector<Row> expected;  // data rows, then the marker row
};

TEST(HasTooManyRecords, CountsTheRecordsOpenWouldBuild) {
    const std::size_t full = static_cast<std::size_t>(kMaxTableRecords) * kColumns;
    const auto lines = [](std::size_t n, const char* end) {
        std::string bytes;
        for (std::size_t i = 0; i < n; ++i) bytes += end;
        return bytes;
    };
    struct Case {
        const char* name;
        std::string bytes;
        bool tooMany;
    };
    const Case cases[] = {
        {"a full list of bare LFs", lines(full, "\n"), false},
        {"one record more", lines(full + kColumns, "\n"), true},
        {"an incomplete record more is dropped", lines(full + kColumns - 1, "\r"), false},
        {"one record more in CR LF", lines(full + kColumns, "\r\n"), true},
        {"lines after the marker do not count", lines(full, "\n") + "***\n" + lines(full, "\n"),
         false},
        {"a marker on the first line is a cell", "***\n" + lines(full + kColumns - 1, "\n"), true},
        {"an empty file", "", false},
    };
    for (const Case& c : cases) EXPECT_EQ(HasTooManyRecords(c.bytes), c.tooMany) << c.name;
}

TEST(ParseTableFile, BuildsTheRowsOpenBuilds) {
    const std::string nineteenLines = Lines({"1", "a", "b", "0", "0", "0", "0", "0", "0", "2", "c",
                                             "d", "0", "0", "0", "0", "0", "0", "***"});
    const ParseCase cases[] = {
        {"marker at line 18",
         nineteenLines,
         {Cells({"1", "a", "b", "0", "0", "0", "0", "0", "0"}),
          Cells({"2", "c", "d", "0", "0", "0", "0", "0", "0"}), Marker()}},
        {"marker at line 9",
         Lines({"1", "a", "b", "c", "d", "e", "f", "g", "h", "***"}),
         {Cells({"1", "a", "b", "c", "d", "e", "f", "g", "h"}), Marker()}},
        {"marker at line 13 drops the incomplete row",
         Lines({"1", "", "", "", "", "", "", "", "", "2", "x", "y", "z", "***"}),
         {Cells({"1"}), Marker()}},
        {"line 0 is never the marker",
         Lines({"***", "", "", "", "", "", "", "", "", "***"}),
         {Cells({"***"}), Marker()}},
        {"only the marker line", "***\r\n", {Cells({"***"}), Marker()}},
        {"only the marker, no line break", "***", {Cells({"***"}), Marker()}},
        {"an empty file", "", {Row{}, Marker()}},
        {"no marker, fewer than nine lines", Lines({"4", "x"}), {Cells({"4", "x"}), Marker()}},
        {"no marker: whole groups of nine", std::string(20, '\r'), {Row{}, Row{}, Marker()}},
        {"a \"***\" with a space is no marker",
         Lines(
             {"1", "", "", "", "", "", "", "", "", "*** ", "", "", "", "", "", "", "", "", "***"}),
         {Cells({"1"}), Cells({"*** "}), Marker()}},
        {"LF CR is two line ends",
         "1\n\r2\r\n\r\n\r\n\r\n\r\n\r\n\r\n***",
         {Cells({"1", "", "2"}), Marker()}},
        {"a last line without its break",
         "9\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nend",
         {Cells({"9", "", "", "", "", "", "", "", "end"}), Marker()}},
        {"lines after the marker are ignored",
         Lines({"1", "", "", "", "", "", "", "", "", "***", "2", "junk"}),
         {Cells({"1"}), Marker()}},
    };
    for (const ParseCase& c : cases) EXPECT_EQ(ParseTableFile(c.bytes), c.expected) << c.name;
}

}  // namespace
}  // namespace tables
