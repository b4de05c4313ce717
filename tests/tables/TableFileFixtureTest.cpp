#include <gtest/gtest.h>

#include <QString>

#include "Table.h"
#include "TableFile.h"
#include "TableTestSupport.h"

namespace tables {
namespace {

using testing::Cells;
using testing::DataPath;
using testing::FileBytes;
using testing::Marker;

struct FixtureCase {
    const char* file;
    std::vector<Row> expected;  // data rows, then the marker row
};

const FixtureCase kFixtures[] = {
    {"no_marker.plu",
     {Cells({"1", "Bread", "", "100", "3", "0", "11", "1", "0"}),
      Cells({"2", "Milk", "fresh", "55", "5", "0", "12", "1", "0"}), Marker()}},
    {"marker_at_line_5.msg",
     {Cells({"7", "Sale", "today", "only", "here", "***", "", "", ""}), Marker()}},
    {"marker_cell.plu",
     {Cells({"1", "A", "", "10", "0", "0", "0", "0", "0"}),
      Cells({"2", "B", "", "20", "0", "0", "0", "0", "0"}), Marker()}},
    {"cyrillic.plu",
     {Cells({"101",
             "\xd5\xeb\xe5\xe1\x20\xf0\xe6\xe0\xed\xee\xe9",  // Хлеб ржаной
             "\xed\xe0\xf0\xe5\xe7\xea\xe0",                  // нарезка
             "4590", "3", "0", "4600000000011", "2", "0"}),
      Cells({"102",
             "\xcc\xee\xeb\xee\xea\xee",                      // Молоко
             "\xa8\xec\xea\xee\xf1\xf2\xfc\x20\x31\x20\xeb",  // Ёмкость 1 л
             "7990", "5", "25", "4600000000028", "3", "1"}),
      Marker()}},
    {"cr_only.msg",
     {Cells({"1",  // Добро пожаловать
             "\xc4\xee\xe1\xf0\xee\x20\xef\xee\xe6\xe0\xeb\xee\xe2\xe0\xf2\xfc"}),
      Cells({"2",
             "\xd1\xea\xe8\xe4\xea\xe8",                    // Скидки
             "\xef\xee\x20\xf1\xf0\xe5\xe4\xe0\xec",        // по средам
             "", "", "", "", "", "\xea\xee\xed\xe5\xf6"}),  // конец
      Marker()}},
    {"lf_only.plu",
     {Cells({"5", "Apple", "red", "120", "10", "0", "5", "1", "0"}),
      Cells({"6", "Pear", "", "130", "10", "0", "6", "1", "0"}), Marker()}},
    {"only_marker.plu", {Cells({"***"}), Marker()}},
};

TEST(TableFileFixtures, ReadAndParseIntoTheRowsOpenBuilds) {
    for (const FixtureCase& c : kFixtures) {
        const std::string path = DataPath(c.file);
        std::string bytes;
        ASSERT_EQ(ReadTableFile(QString::fromStdString(path), bytes), ReadResult::Ok) << c.file;
        EXPECT_EQ(bytes, FileBytes(path)) << c.file;
        EXPECT_EQ(ParseTableFile(bytes), c.expected) << c.file;
    }
}

}  // namespace
}  // namespace tables
