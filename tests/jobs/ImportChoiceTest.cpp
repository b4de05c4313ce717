// The choice made before an import: where it starts, how the rows look as they will be read, and
// what it keeps.

#include <gtest/gtest.h>

#include <QFile>

#include "../tables/TableTestSupport.h"
#include "CodePage1251.h"
#include "ImportChoice.h"
#include "RememberedColumns.h"
#include "TempConfig.h"

namespace jobs {
namespace {

using tables::testing::DataPath;
using tables::testing::FileBytes;

using tables::testing::Cp1251;

ImportChoice ChoiceOfFixture(const char* name) {
    const QString path = QString::fromStdString(DataPath(name));
    return ImportChoice(FileBytes(DataPath(name)), tables::SheetFormatOfName(path));
}

// The header's title (UTF-8) of each column given a target, as "title=key".
std::vector<std::string> Offered(const ImportChoice& choice) {
    std::vector<std::string> taken;
    const std::vector<std::string> header = choice.HeaderCells();
    for (int c = 0; c < choice.ColumnCount(); ++c)
        if (!choice.Targets()[c].empty())
            taken.push_back(tables::Cp1251ToUtf8(header[c]) + "=" + choice.Targets()[c]);
    return taken;
}

void Choose(ImportChoice& choice, const std::vector<std::pair<const char*, const char*>>& set) {
    const std::vector<std::string> header = choice.HeaderCells();
    for (const auto& [title, key] : set) {
        const auto at = std::find(header.begin(), header.end(), Cp1251(title));
        ASSERT_NE(at, header.end()) << title;
        choice.SetTarget(static_cast<int>(at - header.begin()), key);
    }
}

// PLU, both name lines, price and shelf life of each preview row, UTF-8, then its problems.
std::vector<std::string> Shown(const ImportPreview& preview) {
    std::vector<std::string> rows;
    for (const PreviewRow& row : preview.rows) {
        std::string text = std::to_string(row.line) + ":";
        for (const int c : {0, 1, 2, 3, 4}) text += tables::Cp1251ToUtf8(row.cells[c]) + "|";
        for (const std::string& p : row.problems) text += " " + p;
        rows.push_back(text);
    }
    return rows;
}

const std::vector<std::string> kPriceRows = {
    "4:1|Молоко 3,2% 1 л||54990|5|",
    "5:2|Хлеб бородинский||54990|3|",
    "6:17|Сыр российский весовой|выдержанный 45%|6500|30|",
};

TEST(ImportChoice, AFileNobodyChoseForStartsFromTheGuessAtItsHeaderAndEveryKindReadsAlike) {
    struct Case {
        const char* fixture;
        bool text;
        tables::CsvEncoding encoding;  // for a text file
        char delimiter;
    };
    const Case cases[] = {
        {"price_list_utf8.csv", true, tables::CsvEncoding::Utf8, ';'},
        {"price_list_cp1251.csv", true, tables::CsvEncoding::Cp1251, ';'},
        {"price_list.xlsx", false, {}, {}},
        {"price_list.ods", false, {}, {}},
        {"price_list.xls", false, {}, {}},
    };
    for (const auto& c : cases) {
        TempConfig config;
        const ImportChoice choice = ChoiceOfFixture(c.fixture);
        ASSERT_EQ(choice.Refusal(), "") << c.fixture;
        EXPECT_EQ(choice.IsText(), c.text) << c.fixture;
        if (c.text) {
            EXPECT_EQ(choice.Encoding(), c.encoding) << c.fixture;
            EXPECT_EQ(choice.Delimiter(), c.delimiter) << c.fixture;
        }
        EXPECT_EQ(choice.Lines(), (std::vector<int>{1, 3, 4, 5, 6})) << "an empty row is none";
        EXPECT_EQ(choice.Lines()[choice.HeaderRow()], 3) << c.fixture;
        EXPECT_FALSE(choice.FromRemembered());
        EXPECT_EQ(Offered(choice),
                  (std::vector<std::string>{"Код=plu", "Наименование=name", "Цена=price_rub",
                                            "Срок годности=shelf_life"}))
            << c.fixture;
        const ImportPreview preview = choice.Preview();
        EXPECT_EQ(preview.refusal, "") << c.fixture;
        EXPECT_EQ(Shown(preview), kPriceRows) << c.fixture;
        EXPECT_EQ(preview.ignoredColumns, std::vector<std::string>{"Штрихкод"}) << c.fixture;
    }
}

TEST(ImportChoice, ThePreviewFollowsEachChangeAsTheImportWouldReadTheRows) {
    struct Case {
        const char* what;
        int headerLine;  // 0: the one offered
        std::vector<std::pair<const char*, const char*>> set;
        std::string refusal;
        std::vector<std::string> rows;  // when not refused
    };
    const Case cases[] = {
        {"as offered", 0, {}, "", kPriceRows},
        {"the price in kopecks",
         0,
         {{"Цена", "price"}},
         "",
         {"4:1|Молоко 3,2% 1 л||549,90|5| «Цена»: не число: «549,90»",
          "5:2|Хлеб бородинский||549.9|3| «Цена»: не число: «549.9»",
          "6:17|Сыр российский весовой|выдержанный 45%|65|30|"}},
        {"the name on one line",
         0,
         {{"Наименование", "name1"}},
         "",
         {"4:1|Молоко 3,2% 1 л||54990|5|", "5:2|Хлеб бородинский||54990|3|",
          "6:17|Сыр российский весовой выдержанный 45%||6500|30|"}},
        {"no number", 0, {{"Код", ""}}, "В выборе столбцов нет номера", {}},
        {"two for one cell", 0, {{"Штрихкод", "price"}}, "В заголовке два столбца для «Цена»", {}},
        // The choice follows its header: the titles of the row below now name the columns.
        {"a header below",
         4,
         {},
         "",
         {"5:2|Хлеб бородинский||54990|3|",
          "6:17|Сыр российский весовой|выдержанный 45%|6500|30|"}},
    };
    for (const auto& c : cases) {
        TempConfig config;
        ImportChoice choice = ChoiceOfFixture("price_list_utf8.csv");
        if (c.headerLine > 0) {
            const auto at = std::find(choice.Lines().begin(), choice.Lines().end(), c.headerLine);
            choice.SetHeaderRow(static_cast<int>(at - choice.Lines().begin()));
        }
        Choose(choice, c.set);
        const ImportPreview preview = choice.Preview();
        EXPECT_EQ(preview.refusal.substr(0, c.refusal.size()), c.refusal)
            << c.what << ": " << preview.refusal;
        if (!c.refusal.empty()) continue;
        const std::vector<std::string> shown = Shown(preview);
        ASSERT_EQ(shown.size(), c.rows.size()) << c.what;
        EXPECT_EQ(shown, c.rows) << c.what;
    }
}

TEST(ImportChoice, TheChoiceNamesColumnsByTitlesThatReadBackAndByNumberOtherwise) {
    // Titles: a plain one, one with a comma, a number, one with '=', two alike, an empty one.
    const std::string file = Cp1251(
        "Код;Цена, руб;2024;a=b;Товар;Товар;\r\n"
        "1;10,50;3;4;Хлеб;Батон;z\r\n");
    struct Case {
        int column;
        const char* key;
        const char* named;  // in the choice's text
    };
    const Case cases[] = {
        {0, "plu", "Код=plu"},       {1, "price_rub", "Цена, руб=price_rub"},
        {2, "tare", "3=tare"},       {3, "group", "4=group"},
        {4, "name1", "Товар=name1"}, {5, "name2", "6=name2"},
    };
    TempConfig config;
    ImportChoice choice(file, std::nullopt);
    ASSERT_EQ(choice.Refusal(), "");
    ASSERT_EQ(choice.ColumnCount(), 7);
    choice.SetHeaderRow(0);
    for (int column = 0; column < choice.ColumnCount(); ++column) choice.SetTarget(column, "");
    for (const auto& c : cases) choice.SetTarget(c.column, c.key);
    const std::string text = tables::ColumnChoiceText(choice.Choice());
    for (const auto& c : cases)
        EXPECT_NE(text.find(c.named), std::string::npos) << c.named << " in " << text;
    // Read back as the command line and the remembered files read it, the choice takes the same
    // cells.
    std::string error;
    ImportOptions options;
    options.columns = tables::ParseColumnChoice(text, error);
    ASSERT_TRUE(options.columns) << error;
    const ImportReport report = ImportCsvBytes(file, options);
    ASSERT_TRUE(report.Imported()) << ReportText(report);
    EXPECT_EQ(report.rows[0][0], "1");
    EXPECT_EQ(report.rows[0][1], Cp1251("Хлеб"));
    EXPECT_EQ(report.rows[0][2], Cp1251("Батон"));
    EXPECT_EQ(report.rows[0][3], "1050");
    EXPECT_EQ(report.rows[0][5], "3");
    EXPECT_EQ(report.rows[0][7], "4");
}

TEST(ImportChoice, ATextFileIsReadAgainInTheEncodingAndWithTheDelimiterTold) {
    struct Case {
        const char* fixture;
        std::optional<tables::CsvEncoding> encoding;
        std::optional<char> delimiter;
        std::string refusal;
        int columns;       // when not refused
        int line;          // of the row whose first cell is
        const char* cell;  // UTF-8
    };
    const Case cases[] = {
        {"price_list_cp1251.csv",
         tables::CsvEncoding::Utf8,
         {},
         "он не в кодировке UTF-8",
         0,
         0,
         ""},
        {"price_list_utf8.csv", tables::CsvEncoding::Cp1251, {}, "", 5, 3, "РљРѕРґ"},
        {"price_list_utf8.csv", {}, ',', "", 3, 3, "Код;Наименование;Цена;Срок годности;Штрихкод"},
        {"price_list_utf8.csv", {}, '\t', "", 1, 1, "Прайс-лист на 09.12.2026;;;;"},
    };
    for (const auto& c : cases) {
        TempConfig config;
        ImportChoice choice = ChoiceOfFixture(c.fixture);
        if (c.encoding) choice.SetEncoding(*c.encoding);
        if (c.delimiter) choice.SetDelimiter(*c.delimiter);
        EXPECT_EQ(choice.Refusal().find(c.refusal) != std::string::npos, true)
            << c.fixture << ": " << choice.Refusal();
        if (!c.refusal.empty()) {
            EXPECT_NE(choice.Preview().refusal, "") << "nothing to import";
            EXPECT_FALSE(choice.Import().Imported());
            continue;
        }
        EXPECT_EQ(choice.ColumnCount(), c.columns) << c.fixture;
        EXPECT_EQ(choice.Encoding(), c.encoding.value_or(tables::CsvEncoding::Utf8));
        EXPECT_EQ(choice.Delimiter(), c.delimiter.value_or(';'));
        const auto at = std::find(choice.Lines().begin(), choice.Lines().end(), c.line);
        ASSERT_NE(at, choice.Lines().end()) << c.fixture;
        EXPECT_EQ(tables::Cp1251ToUtf8(choice.Rows()[at - choice.Lines().begin()][0]), c.cell)
            << c.fixture;
    }
}

TEST(ImportChoice, AnImportKeepsItsChoiceForTheHeaderOnlyWhenTheFileIsTaken) {
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, const char*>> set;
        bool imported;
    };
    const Case cases[] = {
        {"taken", {}, true},
        {"refused for its rows", {{"Цена", "price"}}, false},
    };
    for (const auto& c : cases) {
        TempConfig config;
        ImportChoice choice = ChoiceOfFixture("price_list.xlsx");
        Choose(choice, c.set);
        const ImportReport report = choice.Import();
        EXPECT_EQ(report.Imported(), c.imported) << c.what << ": " << ReportText(report);
        const QString kept = RememberedColumnsFile(choice.HeaderCells());
        EXPECT_EQ(QFile::exists(kept), c.imported) << c.what;
        EXPECT_EQ(report.remembered, c.imported) << c.what;
        if (!c.imported) continue;
        // The same export tomorrow, in another kind of file: the choice is found for its header.
        const ImportChoice again = ChoiceOfFixture("price_list_utf8.csv");
        EXPECT_TRUE(again.FromRemembered());
        EXPECT_EQ(Offered(again), Offered(choice));
        EXPECT_TRUE(ImportListFile(QString::fromStdString(DataPath("price_list.ods"))).Imported());
    }
}

}  // namespace
}  // namespace jobs
