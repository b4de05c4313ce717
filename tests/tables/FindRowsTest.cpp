#include <gtest/gtest.h>

#include "CodePage1251.h"
#include "FindRows.h"
#include "TableTestSupport.h"

namespace tables {
namespace {

using testing::Cells;
using testing::Marker;
using testing::TableOf;

std::string Cp(const char* utf8) {
    return EncodeCp1251(QString::fromUtf8(utf8));
}

Table Plus() {
    return TableOf({Cells({"PLU"}), Cells({"4711", Cp("Сыр Российский"), Cp("весовой")}),
                    Cells({"12", Cp("Молоко"), "", "4711"}),
                    Cells({"47", Cp("Сметана"), Cp("ЁЛКА 4711")}), Marker()});
}

TEST(FindRows, NumbersMatchWholeAndNamesInAnyCaseGoingRound) {
    const struct {
        const char* name;
        ListKind kind;
        const char* needle;
        int from;
        bool forward;
        std::optional<std::pair<int, int>> found;  // column, row
    } cases[] = {
        {"the number exactly", ListKind::Plu, "4711", 3, true, std::pair{0, 1}},
        {"a number in a name is a part of it", ListKind::Plu, "4711", 1, true, std::pair{2, 3}},
        {"a part of a number is not it", ListKind::Plu, "471", 3, true, std::pair{2, 3}},
        {"Russian letters in another case", ListKind::Plu, "СЫР", 2, true, std::pair{1, 1}},
        {"Ё as ё", ListKind::Plu, "ёлка", 1, true, std::pair{2, 3}},
        {"backwards round the start", ListKind::Plu, "м", 1, false, std::pair{1, 3}},
        {"spaces around the text", ListKind::Plu, " 12 ", 1, true, std::pair{0, 2}},
        {"nothing", ListKind::Plu, "кефир", 1, true, std::nullopt},
        {"an empty text", ListKind::Plu, "  ", 1, true, std::nullopt},
        {"a message's every line", ListKind::Msg, "4711", 1, true, std::pair{3, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto found = FindRow(Plus(), c.kind, Cp(c.needle), c.from, c.forward);
        ASSERT_EQ(found.has_value(), c.found.has_value());
        if (found) {
            EXPECT_EQ(std::pair(found->col, found->row), *c.found);
        }
    }
}

}  // namespace
}  // namespace tables
