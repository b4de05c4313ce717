// Price lists as shops get them (CSV and spreadsheets, a title row above the header) into the
// table, with the columns chosen, remembered or guessed.

#include <gtest/gtest.h>

#include <QFile>

#include "../tables/TableTestSupport.h"
#include "CodePage1251.h"
#include "CsvImport.h"
#include "RememberedColumns.h"
#include "TempConfig.h"

namespace jobs {
namespace {

using tables::testing::DataPath;

const char* const kPriceLists[] = {"price_list_utf8.csv", "price_list_cp1251.csv",
                                   "price_list.xlsx",     "price_list.ods",
                                   "price_list.xls",      "price_stored_long.xlsx"};

const char* const kChosen = "Код=plu,Наименование=name,Цена=price_rub,Срок годности=shelf_life";

ImportOptions Chosen(const char* columns, int headerRow = 0) {
    ImportOptions options;
    std::string error;
    options.columns = tables::ParseColumnChoice(columns, error);
    options.headerRow = headerRow;
    return options;
}

ImportReport Import(const char* file, const ImportOptions& options) {
    return ImportListFile(QString::fromStdString(DataPath(file)), options);
}

// PLU, both name lines, price, shelf life of each row, UTF-8.
std::vector<std::string> Described(const ImportReport& report) {
    std::vector<std::string> rows;
    for (std::size_t r = 0; r + 1 < report.rows.size(); ++r) {
        std::string row;
        for (const int c : {0, 1, 2, 3, 4}) row += tables::Cp1251ToUtf8(report.rows[r][c]) + "|";
        rows.push_back(row);
    }
    return rows;
}

TEST(PriceListImport, EveryKindOfFileGivesTheSameRowsWithTheColumnsChosen) {
    const std::vector<std::string> expected = {
        "1|Молоко 3,2% 1 л||54990|5|",
        "2|Хлеб бородинский||54990|3|",
        "17|Сыр российский весовой|выдержанный 45%|6500|30|",
    };
    for (const char* file : kPriceLists) {
        TempConfig config;
        for (const int headerRow : {0, 3}) {
            const ImportReport report = Import(file, Chosen(kChosen, headerRow));
            ASSERT_TRUE(report.Imported()) << file << ": " << ReportText(report);
            EXPECT_EQ(Described(report), expected) << file << " " << headerRow;
            EXPECT_EQ(IgnoredColumnsNote(report), "Пропущены неизвестные столбцы: «Штрихкод»")
                << file;
        }
        const ImportReport byNumber = Import(file, Chosen("1=plu,3=price_rub,4=group"));
        ASSERT_TRUE(byNumber.Imported()) << file << ": " << ReportText(byNumber);
        EXPECT_EQ(byNumber.rows[2][tables::Column::Group], "30") << file;
    }
}

TEST(PriceListImport, AHeaderThatCannotBeReadIsRefusedWithAGuess) {
    struct Case {
        const char* file;
        ImportOptions options;
        std::string refusal;
    };
    const Case cases[] = {
        {"price_list.xlsx", {}, "В заголовке нет столбца номера"},
        {"price_list_cp1251.csv", {}, "В заголовке нет столбца номера"},
        {"price_list.ods", Chosen("Артикул=plu"), "Ни в одной из первых 20 строк нет всех"},
        {"price_list.xls", Chosen(kChosen, 2), "В строке 2 нет заголовка"},
        {"price_list_utf8.csv", Chosen("Код=plu,Остаток=tare", 3),
         "В заголовке нет столбца «Остаток»"},
    };
    for (const Case& c : cases) {
        TempConfig config;
        const ImportReport report = Import(c.file, c.options);
        EXPECT_EQ(report.refusal.substr(0, c.refusal.size()), c.refusal) << c.file;
        EXPECT_TRUE(report.headerUnknown) << c.file;
        EXPECT_EQ(report.headerLine, 3) << c.file;
        EXPECT_EQ(report.header, (std::vector<std::string>{"Код", "Наименование", "Цена",
                                                           "Срок годности", "Штрихкод"}))
            << c.file;
        EXPECT_EQ(tables::ColumnChoiceText(report.guess), kChosen) << c.file;
        EXPECT_EQ(report.preview.size(), 5u) << c.file;
    }
}

TEST(PriceListImport, AChoiceRememberedForAHeaderIsTakenForTheSameHeaderOnly) {
    TempConfig config;
    ImportOptions remember = Chosen(kChosen);
    remember.remember = true;
    ASSERT_TRUE(Import("price_list_utf8.csv", remember).Imported());
    struct Case {
        const char* file;
        bool imported;
    };
    const Case cases[] = {
        {"price_list.xlsx", true},
        {"price_list.ods", true},
        {"price_list_cp1251.csv", true},
        {"formula.xlsx", false},  // another header
    };
    for (const Case& c : cases) {
        const ImportReport report = Import(c.file, {});
        EXPECT_EQ(report.Imported(), c.imported) << c.file << ": " << ReportText(report);
        EXPECT_EQ(report.headerUnknown, !c.imported) << c.file;
    }
    const ImportReport read = Import("price_list.xlsx", {});
    std::vector<std::string> header;
    for (const std::string& title : read.header)
        header.push_back(tables::EncodeCp1251(QString::fromStdString(title)));
    QFile file(RememberedColumnsFile(header));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(QString::fromUtf8("title=Срок годности\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("columns=") + QString::fromUtf8(kChosen)));
}

}  // namespace
}  // namespace jobs
