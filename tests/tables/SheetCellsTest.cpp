// Every kind of cell a workbook stores, shown as the sheet shows it.

#include <gtest/gtest.h>

#include <map>

#include "BookBytes.h"
#include "CodePage1251.h"
#include "SheetFile.h"

namespace tables {
namespace {

using testing::Xlsx;
using testing::Zip;

using Rows = std::map<int, std::vector<std::string>>;

Rows RowsOf(const std::string& bytes, SheetFormat format) {
    Rows rows;
    const std::string refusal =
        ForEachSheetRow(bytes, format, {}, [&](std::vector<std::string>& cells, int line) {
            for (const std::string& cell : cells) rows[line].push_back(Cp1251ToUtf8(cell));
            return true;
        });
    if (!refusal.empty()) rows[0] = {refusal};
    return rows;
}

TEST(SheetCells, EveryKindOfCellShowsAsTheSheetShowsIt) {
    const QByteArray ods =
        "<table:table-row table:number-rows-repeated=\"2\"/>"
        "<table:table-row>"
        "<table:table-cell office:value-type=\"boolean\" office:boolean-value=\"true\"/>"
        "<table:table-cell table:number-columns-repeated=\"2\"/>"
        "<table:table-cell office:value-type=\"currency\" office:value=\"549.89999999999998\">"
        "<text:p>549,90 ₽</text:p></table:table-cell>"
        "<table:table-cell office:value-type=\"string\"><text:p>Хлеб<text:s text:c=\"2\"/>"
        "<text:span>ржаной</text:span><office:annotation><text:p>заметка</text:p>"
        "</office:annotation></text:p><text:p>нарезка</text:p></table:table-cell>"
        "<table:table-cell office:value-type=\"date\" office:date-value=\"2026-12-09\"/>"
        "</table:table-row>"
        "<table:table-row><table:covered-table-cell/><table:table-cell office:value-type=\"float\" "
        "office:value=\"7\" table:number-columns-repeated=\"2\"/></table:table-row>";
    const QByteArray xlsx =
        "<row r=\"3\"><c r=\"A3\" t=\"b\"><v>1</v></c><c r=\"D3\"><v>549.89999999999998</v></c>"
        "<c r=\"E3\" t=\"inlineStr\"><is><r><t>Хлеб  </t></r><r><t>ржаной</t></r>"
        "<rPh><t>хлеб</t></rPh></is></c><c r=\"F3\" t=\"s\"><v>1</v></c>"
        "<c r=\"G3\" t=\"s\"><v>9</v></c></row>"
        "<row><c t=\"e\"><v>#DIV/0!</v></c><c t=\"str\"><f>A1</f><v>Кефир</v></c>"
        "<c><f>1+1</f></c><c><v>4.6000000000001E15</v></c></row>";
    const QByteArray strings = "<si><t>ноль</t></si><si><r><t>Сы</t></r><r><t>р</t></r></si>";
    struct Case {
        const char* what;
        std::string bytes;
        SheetFormat format;
        Rows rows;
    };
    const Case cases[] = {
        {"ods",
         Zip({{"content.xml",
               "<d xmlns:table=\"t\" xmlns:text=\"x\" xmlns:office=\"o\">"
               "<table:table table:name=\"A\">" +
                   ods + "</table:table></d>"}}),
         SheetFormat::Ods,
         {{3, {"1", "", "", "549.9", "Хлеб  ржаной\nнарезка", "2026-12-09"}}, {4, {"", "7", "7"}}}},
        {"xlsx",
         Xlsx(xlsx, strings),
         SheetFormat::Xlsx,
         {{3, {"1", "", "", "549.9", "Хлеб  ржаной", "Сыр"}},
          {4, {"#DIV/0!", "Кефир", "", "4600000000000100"}}}},
    };
    for (const Case& c : cases) EXPECT_EQ(RowsOf(c.bytes, c.format), c.rows) << c.what;
}

}  // namespace
}  // namespace tables
