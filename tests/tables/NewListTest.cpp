#include <gtest/gtest.h>

#include "Table.h"
#include "TableTestSupport.h"

namespace tables {
namespace {

using testing::Cells;
using testing::Marker;
using testing::Record;
using testing::RowsOf;
using testing::TableOf;

// The titles as code page 1251 bytes, written out so the encoder is not their only witness.
const Row kPluTitles = {
    "PLU",
    "\xcf\xe5\xf0\xe2\xe0\xff\x20\xf1\xf2\xf0\xee\xea\xe0",  // Первая строка
    "\xc2\xf2\xee\xf0\xe0\xff\x20\xf1\xf2\xf0\xee\xea\xe0",  // Вторая строка
    "\xd6\xe5\xed\xe0",                                      // Цена
    "\xd1\xf0\xee\xea\x20\xf5\xf0\xe0\xed\xe5\xed\xe8\xff",  // Срок хранения
    "\xc2\xe5\xf1\x20\xf2\xe0\xf0\xfb",                      // Вес тары
    "\xca\xee\xe4\x20\xf2\xee\xe2\xe0\xf0\xe0",              // Код товара
    "\xca\xee\xe4\x20\xe3\xf0\xf3\xef\xef\xfb",              // Код группы
    "\xb9\x20\xd1\xee\xee\xe1\xf9\xe5\xed\xe8\xff",          // № Сообщения
};

const Row kMsgTitles = {
    "MSG",
    "\xcf\xe5\xf0\xe2\xe0\xff\x20\xf1\xf2\xf0\xee\xea\xe0",  // Первая строка
    "\xc2\xf2\xee\xf0\xe0\xff\x20\xf1\xf2\xf0\xee\xea\xe0",  // Вторая строка
    "\xd2\xf0\xe5\xf2\xfc\xff\x20\xf1\xf2\xf0\xee\xea\xe0",  // Третья строка
    "\xd7\xe5\xf2\xe2\xe5\xf0\xf2\xe0\xff\x20\xf1\xf2\xf0\xee\xea\xe0",  // Четвертая строка
    "\xcf\xff\xf2\xe0\xff\x20\xf1\xf2\xf0\xee\xea\xe0",                  // Пятая строка
    "\xd8\xe5\xf1\xf2\xe0\xff\x20\xf1\xf2\xf0\xee\xea\xe0",      // Шестая строка
    "\xd1\xe5\xe4\xfc\xec\xe0\xff\x20\xf1\xf2\xf0\xee\xea\xe0",  // Седьмая строка
    "\xc2\xee\xf1\xfc\xec\xe0\xff\x20\xf1\xf2\xf0\xee\xea\xe0",  // Восьмая строка
};

TEST(NewList, TitlesAreCodePage1251Bytes) {
    EXPECT_EQ(TitlesOf(ListKind::Plu), kPluTitles);
    EXPECT_EQ(TitlesOf(ListKind::Msg), kMsgTitles);
}

// Whatever the grid held, of either kind and of any length, a new list is the same three rows.
TEST(NewList, IsTitlesOneRecordAndTheMarkerRow) {
    struct Case {
        ListKind kind;
        std::vector<Row> expected;
    };
    const Case cases[] = {
        {ListKind::Plu, {kPluTitles, Cells({"1", "", "", "0", "0", "0", "0", "0", "0"}), Marker()}},
        {ListKind::Msg, {kMsgTitles, Cells({"1"}), Marker()}},
    };
    const std::vector<std::vector<Row>> before = {
        {},
        {Record("t"), Record("5")},
        {kMsgTitles, Record("5"), Record("6"), Record("7"), Marker(), Record("8")},
    };
    for (const Case& c : cases) {
        for (const auto& rows : before) {
            Table table = TableOf(rows);
            MakeNewList(table, c.kind);
            EXPECT_EQ(RowsOf(table), c.expected) << "from " << rows.size() << " rows";
        }
    }
}

TEST(NewList, WriteTitlesLeavesTheOtherRows) {
    Table table = TableOf({kPluTitles, Record("4"), Marker()});
    WriteTitles(table, ListKind::Msg);
    EXPECT_EQ(RowsOf(table), (std::vector<Row>{kMsgTitles, Record("4"), Marker()}));
}

}  // namespace
}  // namespace tables
