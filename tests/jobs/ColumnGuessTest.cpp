// The first choice of columns offered for a file nobody chose them for.

#include <gtest/gtest.h>

#include <QString>

#include "CodePage1251.h"
#include "ColumnGuess.h"

namespace jobs {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows Cp1251(const std::vector<std::vector<const char*>>& utf8) {
    Rows rows;
    for (const auto& row : utf8) {
        rows.emplace_back();
        for (const char* cell : row)
            rows.back().push_back(tables::EncodeCp1251(QString::fromUtf8(cell)));
    }
    return rows;
}

TEST(ColumnGuess, TakesKnownTitlesThenNumbersDecimalsAndTheLongestText) {
    struct Case {
        const char* what;
        std::vector<std::vector<const char*>> rows;
        int headerRow;
        std::string choice;
        int given = -1;  // the header the reading took, if any
    };
    const Case cases[] = {
        {"title row above the header",
         {{"Прайс"},
          {"Артикул", "Товар", "Стоимость"},
          {"7", "Хлеб", "45,50"},
          {"9", "Батон", "38"}},
         1,
         "Артикул=plu,Товар=name,Стоимость=price_rub"},
        {"a number twice is no PLU", {{"А", "Б"}, {"7", "Хлеб"}, {"7", "Батон"}}, 0, "Б=name"},
        {"zero and past 65535 are no PLU",
         {{"А", "Б", "В"}, {"0", "70000", "Хлеб"}, {"1", "2", "Батон"}},
         0,
         "В=name"},
        {"the longest text is the name",
         {{"Ед.", "Описание", "Код"}, {"кг", "Сыр российский", "3"}, {"шт", "Хлеб", "4"}},
         0,
         "Описание=name,Код=plu"},
        {"known titles first, a price of decimals in roubles",
         {{"PLU", "Цена", "Первая строка", "N"}, {"1", "12,5", "Хлеб", "2"}},
         0,
         "PLU=plu,Цена=price_rub,Первая строка=name1"},
        {"a price of whole numbers stays in kopecks",
         {{"PLU", "Цена"}, {"1", "1250"}},
         0,
         "PLU=plu,Цена=price"},
        {"an untitled column by its number",
         {{"Товар", "", "Остаток"}, {"Хлеб", "5", ""}},
         0,
         "Товар=name,2=plu"},
        {"nothing to guess from", {}, -1, ""},
        {"the header the reading took, though another row is fuller",
         {{"Код", "Товар"}, {"1", "Хлеб", "примечание"}, {"2", "Батон", "x"}},
         0,
         "Код=plu,Товар=name",
         0},
    };
    for (const Case& c : cases) {
        const ColumnGuess guess = GuessColumns(Cp1251(c.rows), c.given);
        EXPECT_EQ(guess.headerRow, c.headerRow) << c.what;
        EXPECT_EQ(tables::ColumnChoiceText(guess.choice), c.choice) << c.what;
    }
}

}  // namespace
}  // namespace jobs
