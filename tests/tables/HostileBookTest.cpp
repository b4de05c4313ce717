// Workbooks made to hurt: small zips whose XML would take the reader's memory or time. Each is
// refused, or read with what no list holds cut away, and never crashes the reader.

#include <gtest/gtest.h>

#include "BookBytes.h"
#include "SheetFile.h"

namespace tables {
namespace {

using testing::Ods;
using testing::Xlsx;
using testing::Zip;

QByteArray Times(const QByteArray& piece, int count) {
    return piece.repeated(count);
}

TEST(HostileBook, IsRefusedOrCutWithinItsBudgets) {
    const QByteArray cell = "<table:table-row><table:table-cell><text:p>";
    const QByteArray end = "</text:p></table:table-cell></table:table-row>";
    struct Case {
        const char* what;
        std::string bytes;
        SheetFormat format;
        std::string refusal;
        std::size_t longest;  // bytes of the longest cell read
    };
    const Case cases[] = {
        {"2 MiB of spaces between two tags", Xlsx(QByteArray(2 << 20, ' ')), SheetFormat::Xlsx,
         "В книге текст длиннее 1 МБ без разметки: это не список", 0},
        {"millions of tags in the strings",
         Xlsx("<row><c t=\"s\"><v>0</v></c></row>", Times("<x/>", 4'000'001)), SheetFormat::Xlsx,
         "Книга слишком велика для списка: в ней больше 4 млн ячеек и строк", 0},
        {"millions of empty cells", Xlsx("<row>" + Times("<c/>", 3'000'001) + "</row>"),
         SheetFormat::Xlsx, "В листе больше 3 млн строк и ячеек: это не список", 0},
        {"a row repeated a million times",
         Ods("<table:table-row table:number-rows-repeated=\"1000000\"><table:table-cell "
             "office:value-type=\"float\" office:value=\"1\" "
             "table:number-columns-repeated=\"16384\"/></table:table-row>"),
         SheetFormat::Ods, "В листе больше 3 млн строк и ячеек: это не список", 1},
        {"a run of spaces repeated", Ods(cell + Times("<text:s text:c=\"1000\"/>", 100) + end),
         SheetFormat::Ods, "", 64 * 1024},
        {"spans in spans",
         Ods(cell + Times("<text:span>", 100'000) + "x" + Times("</text:span>", 100'000) + end),
         SheetFormat::Ods, "", 0},
    };
    for (const Case& c : cases) {
        std::size_t longest = 0;
        const std::string refusal =
            ForEachSheetRow(c.bytes, c.format, {}, [&](std::vector<std::string>& cells, int) {
                for (const std::string& text : cells) longest = std::max(longest, text.size());
                return true;
            });
        EXPECT_EQ(refusal, c.refusal) << c.what;
        EXPECT_EQ(longest, c.longest) << c.what;
    }
}

}  // namespace
}  // namespace tables
