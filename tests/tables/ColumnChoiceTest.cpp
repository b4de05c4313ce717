// The operator's choice of columns, as --columns and the remembered files write it.

#include <gtest/gtest.h>

#include "CodePage1251.h"
#include "ColumnChoice.h"

namespace tables {
namespace {

std::string Described(const ColumnChoice& choice) {
    std::string text;
    for (const ChosenColumn& c : choice)
        text += "[" + c.title + "|" + std::to_string(c.number) + "|" + c.target + "]";
    return text;
}

TEST(ColumnChoice, TitlesOrNumbersAreTakenAsKeysOrLeftOut) {
    struct Case {
        const char* text;
        std::string columns;  // empty when refused
        std::string error;
    };
    const Case cases[] = {
        {"Код=plu,Наименование=name,Цена=price_rub",
         "[Код|0|plu][Наименование|0|name][Цена|0|price_rub]", ""},
        {" Цена, руб = PRICE_RUB ,1=plu", "[Цена, руб|0|price_rub][|1|plu]", ""},
        {"Штрихкод=,2=line8", "[Штрихкод|0|][|2|line8]", ""},
        {"Код", "", "--columns: нужно СТОЛБЕЦ=ЧТО через запятую, а не «Код»"},
        {"=plu", "", "--columns: нужно СТОЛБЕЦ=ЧТО через запятую, а не «=plu»"},
        {"Код=price_usd", "", "--columns: «price_usd» — не столбец списка; есть plu"},
        {"0=plu", "", "--columns: столбцы считаются от 1"},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto choice = ParseColumnChoice(c.text, error);
        EXPECT_EQ(choice.has_value(), c.error.empty()) << c.text;
        EXPECT_EQ(error.substr(0, c.error.size()), c.error) << c.text;
        if (!choice) continue;
        EXPECT_EQ(Described(*choice), c.columns) << c.text;
        std::string again;
        EXPECT_EQ(Described(*ParseColumnChoice(ColumnChoiceText(*choice), again)), c.columns);
    }
}

std::vector<std::string> Cells(std::vector<const char*> utf8) {
    std::vector<std::string> cells;
    for (const char* c : utf8) cells.push_back(EncodeCp1251(QString::fromUtf8(c)));
    return cells;
}

TEST(ColumnChoice, AHeaderIsTakenAsTheChoiceSays) {
    const auto header = Cells({"Код", "Наименование", "Цена", "", "Штрихкод"});
    struct Case {
        const char* choice;
        ListKind kind;
        std::vector<int> columns;  // the table column of each header cell, -1 for none
        std::string refusal;
    };
    const Case cases[] = {
        {"код=plu,НАИМЕНОВАНИЕ=name,Цена=price_rub", ListKind::Plu, {0, 1, 3, -1, -1}, ""},
        {"1=plu,5=item_code", ListKind::Plu, {0, -1, -1, -1, 6}, ""},
        {"1=number,2=line1,3=line2", ListKind::Msg, {0, 1, 2, -1, -1}, ""},
        {"Код=plu,Цена=price,Штрихкод=price",
         ListKind::Plu,
         {},
         "В заголовке два столбца для «Цена»"},
        {"Код=plu,Остаток=tare", ListKind::Plu, {}, "В заголовке нет столбца «Остаток»"},
        {"4=plu", ListKind::Plu, {}, "В заголовке пуст столбец 4"},
        {"Наименование=name", ListKind::Plu, {}, "В выборе столбцов нет номера"},
        {"Код=plu,Цена=line1", ListKind::Plu, {}, "В выборе столбцов смешаны"},
    };
    for (const Case& c : cases) {
        std::string error;
        const CsvHeader read = HeaderOfChoice(*ParseColumnChoice(c.choice, error), header);
        EXPECT_EQ(read.refusal.substr(0, c.refusal.size()), c.refusal) << c.choice;
        if (!c.refusal.empty()) continue;
        EXPECT_EQ(read.kind, c.kind) << c.choice;
        std::vector<int> columns;
        for (const CsvColumn& column : read.columns) columns.push_back(column.column);
        EXPECT_EQ(columns, c.columns) << c.choice;
    }
}

}  // namespace
}  // namespace tables
