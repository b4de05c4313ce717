#include <gtest/gtest.h>

#include <QString>

#include "CodePage1251.h"
#include "CsvFile.h"
#include "TableFile.h"
#include "TableTestSupport.h"

namespace tables {
namespace {

using testing::DataPath;
using testing::FileBytes;

// Cells written as UTF-8 here, held in code page 1251 as the table holds them.
Row Cp1251Row(std::vector<const char*> utf8) {
    Row row;
    for (std::size_t c = 0; c < utf8.size(); ++c) row[c] = EncodeCp1251(QString::fromUtf8(utf8[c]));
    return row;
}

TEST(CsvRead, ExportsGiveTheirRowsWhateverTheirEncodingAndDelimiter) {
    struct Case {
        const char* file;
        std::vector<Row> rows;
        std::vector<std::string> ignored;
    };
    const Case cases[] = {
        {"goods_cp1251.csv",
         {Cp1251Row(
              {"1", "Хлеб \"Бородинский\"; нарезка", "", "4550", "3", "0", "1000011", "0", "0"}),
          Cp1251Row({"2", "Молоко 3,2%", "", "7990", "5", "0", "1000028", "0", "0"}),
          Cp1251Row(
              {"3", "Сыр \"Российский\" весовой", "", "54990", "30", "0", "2000035", "0", "0"}),
          Cp1251Row({"4", "Колбаса докторская", "", "61200", "20", "0", "2000042", "0", "0"})},
         {"Ед. изм.", "Остаток"}},
        {"shop_utf8_bom.csv",
         {Cp1251Row({"101", "Яблоки \"Гала\"", "Россия, кг", "15990", "10", "0", "2101", "3", "0"}),
          Cp1251Row({"102", "Бананы", "Эквадор, кг", "12990", "7", "5", "2102", "3", "1"}),
          Cp1251Row({"103", "Кофе «Арабика» ?", "", "89900", "365", "0", "2103", "4", "0"})},
         {}},
        {"dairy_tab.csv",
         {Cp1251Row({"201", "Кефир 1%", "", "6990", "0", "0", "0", "5", "0"}),
          Cp1251Row({"202", "Ряженка", "", "7490", "0", "0", "0", "5", "0"})},
         {"Примечание"}},
        {"prices_roubles.csv",
         {Cp1251Row({"1", "Гречка ядрица", "", "8990", "0", "0", "0", "0", "0"}),
          Cp1251Row({"2", "Рис круглозёрный", "", "12050", "0", "0", "0", "0", "0"}),
          Cp1251Row({"3", "Соль поваренная", "", "2500", "0", "0", "0", "0", "0"}),
          Cp1251Row({"4", "Икра красная", "", "129900", "0", "0", "0", "0", "0"})},
         {}},
    };
    for (const Case& c : cases) {
        const CsvRead read = ReadCsv(FileBytes(DataPath(c.file)));
        EXPECT_EQ(read.refusal, "") << c.file;
        EXPECT_EQ(read.kind, ListKind::Plu) << c.file;
        EXPECT_EQ(read.rows, c.rows) << c.file;
        EXPECT_EQ(read.ignoredColumns, c.ignored) << c.file;
        EXPECT_TRUE(read.problems.empty()) << c.file;
    }
}

TEST(CsvRead, TheHeaderNamesTheKindAndTheColumns) {
    struct Case {
        const char* csv;
        ListKind kind;
        Row first;  // empty when refused
        std::string refusal;
    };
    const Case cases[] = {
        {" plu ;№ Сообщения\r\n7;3", ListKind::Plu,
         Cp1251Row({"7", "", "", "0", "0", "0", "0", "0", "3"}), ""},
        {"MSG;Строка 2;ЧЕТВЁРТАЯ СТРОКА\r\n1;a;b", ListKind::Msg,
         Cp1251Row({"1", "", "a", "", "b"}), ""},
        {"number,line8\r\n9,z", ListKind::Msg, Cp1251Row({"9", "", "", "", "", "", "", "", "z"}),
         ""},
        {"№ Сообщения\tПервая строка\r\n4\tx", ListKind::Msg, Cp1251Row({"4", "x"}), ""},
        {"Наименование;Цена\r\nХлеб;5", ListKind::Plu, {}, "В заголовке нет столбца номера"},
        {"PLU;Цена;price\r\n1;5;5", ListKind::Plu, {}, "В заголовке два столбца для «Цена»"},
        {"PLU;name;name2\r\n1;a;b", ListKind::Plu, {}, "В заголовке два столбца для «Вторая"},
        {"Товар;Остаток\r\nХлеб;5", ListKind::Plu, {}, "В первых 20 строках файла нет названий"},
    };
    for (const Case& c : cases) {
        const CsvRead read = ReadCsv(EncodeCp1251(QString::fromUtf8(c.csv)));
        EXPECT_EQ(read.refusal.substr(0, c.refusal.size()), c.refusal) << c.csv;
        EXPECT_EQ(read.refusal.empty(), c.refusal.empty()) << c.csv << ": " << read.refusal;
        if (!c.refusal.empty()) continue;
        EXPECT_EQ(read.kind, c.kind) << c.csv;
        EXPECT_EQ(read.rows, std::vector<Row>{c.first}) << c.csv;
    }
}

TEST(CsvRead, RefusesWhatIsNoListsCsv) {
    std::string records = "PLU\r\n";
    for (int r = 0; r < kMaxTableRecords; ++r) records += "1\r\n";
    struct Case {
        const char* what;
        std::string bytes;
        std::string refusal;  // empty: read
    };
    const Case cases[] = {
        {"a picture", FileBytes(DataPath("not_a_list.png")), "в нём двоичные данные"},
        {"control characters", "PLU\r\n\x01\x02\x03\x04\x05\x06\x07;\x08", "в нём двоичные данные"},
        {"UTF-16", std::string("\xFF\xFEP\0L\0U\0", 8), "он в кодировке UTF-16"},
        {"a workbook", std::string("PK\x03\x04\x14", 5), "это книга Excel"},
        {"nothing", "\r\n\r\n", "он пуст"},
        {"no known title", "Товар;Цена, коп\r\n", "В первых 20 строках файла нет названий"},
        {"only the header", "PLU;Цена\r\n;;\r\n", "В файле нет ни одной записи"},
        {"the most records", records, ""},
        {"one record more", records + "1\r\n", "В файле больше 65535 записей"},
        {"over 64 MiB", std::string(kMaxTableFileBytes + 1, ' '), "Файл больше 64 МБ"},
    };
    for (const Case& c : cases) {
        const CsvRead read = ReadCsv(c.bytes);
        EXPECT_NE(read.refusal.find(c.refusal), std::string::npos)
            << c.what << ": " << read.refusal;
        EXPECT_EQ(read.refusal.empty(), c.refusal.empty()) << c.what;
        EXPECT_EQ(read.rows.empty(), !c.refusal.empty()) << c.what;
    }
}

TEST(CsvRead, RowsAreNumberedByTheLinesOfTheFile) {
    const std::string csv =
        "\r\nPLU;Первая строка;Цена\r\n"  // lines 1 (blank) and 2
        "1;\"two\r\nlines\";100\r\n"      // 3 and 4
        "\r\n2;;50\n"                     // 5 (blank) and 6, LF
        "3;\"a\"\"\rb\";7\r"              // 7 and 8, CR inside quotes
        ";;\r\n4;x;1";                    // 9 (no record) and 10, no line end
    const CsvRead read = ReadCsv(csv);
    EXPECT_EQ(read.lines, (std::vector<int>{3, 6, 7, 10}));
    ASSERT_EQ(read.problems.size(), 2u);
    for (const CsvCellProblem& p : read.problems) {
        EXPECT_EQ(p.column, Column::Name1);
        EXPECT_EQ(p.reason, "ячейка занимает несколько строк");
    }
    EXPECT_EQ(read.problems[0].row, 0);
    EXPECT_EQ(read.problems[1].row, 2);
}

TEST(CsvRead, PricesInRoublesBecomeKopecksAndAreNeverRounded) {
    struct Case {
        const char* cell;
        const char* read;  // the price in kopecks, or why it is none
    };
    const Case cases[] = {
        {" 0,05 ", "5"},
        {"1 299,00", "129900"},
        {"1\u00A0000", "100000"},
        {"549,999", "больше двух знаков после запятой: «549,999»"},
        {"549,", "не число: «549,»"},
        {"1,2,3", "не число: «1,2,3»"},
        {"-5", "не число: «-5»"},
        {"", "не число: «»"},
        {"1 ,5", "не число: «1 ,5»"},
    };
    for (const Case& c : cases) {
        const CsvRead read = ReadCsv(std::string("PLU;Цена, руб\r\n1;\"") + c.cell + "\"");
        ASSERT_EQ(read.rows.size(), 1u) << c.cell;
        const std::string got =
            read.problems.empty() ? read.rows[0][Column::Price] : read.problems[0].reason;
        EXPECT_EQ(got, c.read) << c.cell;
        EXPECT_EQ(read.titles[Column::Price], "Цена, руб");
    }
}

// A byte order mark before text that is not UTF-8 is a mark wrongly kept, not a reason to lose
// the text.
TEST(CsvRead, TextThatIsNotUtf8IsCodePage1251WhateverItsMark) {
    const std::string cp1251 = EncodeCp1251(QString::fromUtf8("MSG;Первая строка\r\n1;Ёж"));
    EXPECT_EQ(ReadCsv("\xEF\xBB\xBF" + cp1251).rows.at(0)[1], cp1251.substr(cp1251.size() - 2));
}

TEST(CsvWrite, QuotesOnlyTheCellsThatNeedIt) {
    struct Case {
        const char* cell;
        const char* written;
    };
    const Case cases[] = {
        {"Хлеб", "Хлеб"},
        {"1,5 кг", "1,5 кг"},
        {"", ""},
        {"a;b", "\"a;b\""},
        {"ООО \"Рога\"", "\"ООО \"\"Рога\"\"\""},
        {" left", "\" left\""},
        {"right\t", "\"right\t\""},
        {"in side", "in side"},
    };
    for (const Case& c : cases) {
        Table table;
        table.SetRowCount(3);
        table.SetRow(1, Cp1251Row({"7", c.cell, "", "0", "0", "0", "0", "0", "0"}));
        const std::string expected =
            std::string("PLU;Первая строка;Вторая строка;Цена;Срок хранения;") +
            "Вес тары;Код товара;Код группы;№ Сообщения\r\n7;" + c.written + ";;0;0;0;0;0;0\r\n";
        EXPECT_EQ(CsvBytes(table, ListKind::Plu, 1, CsvEncoding::Utf8), "\xEF\xBB\xBF" + expected);
        EXPECT_EQ(CsvBytes(table, ListKind::Plu, 1, CsvEncoding::Cp1251),
                  EncodeCp1251(QString::fromUtf8(expected.c_str())));
    }
}

}  // namespace
}  // namespace tables
