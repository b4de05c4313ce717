// Spreadsheet files saved by LibreOffice Calc, read row by row as the sheet shows them.

#include <gtest/gtest.h>

#include <QString>
#include <chrono>
#include <map>

#include "CodePage1251.h"
#include "SheetFile.h"
#include "TableTestSupport.h"

namespace tables {
namespace {

using testing::DataPath;
using testing::FileBytes;

// Rows by their number, cells in UTF-8.
using Rows = std::map<int, std::vector<std::string>>;

struct SheetRead {
    std::string refusal;
    Rows rows;
};

SheetRead ReadSheet(const std::string& bytes, SheetFormat format, const QString& sheet = {}) {
    SheetRead read;
    read.refusal =
        ForEachSheetRow(bytes, format, sheet, [&](std::vector<std::string>& cells, int line) {
            for (const std::string& cell : cells) read.rows[line].push_back(Cp1251ToUtf8(cell));
            return true;
        });
    return read;
}

SheetFormat FormatOf(const char* file) {
    return *SheetFormatOfName(QString::fromUtf8(file));
}

TEST(SheetFile, BooksSavedByASpreadsheetGiveTheirCellsAsTheSheetShowsThem) {
    const Rows priceList = {
        {1, {"Прайс-лист на 09.12.2026"}},
        {3, {"Код", "Наименование", "Цена", "Срок годности", "Штрихкод"}},
        {4, {"1", "Молоко 3,2% 1 л", "549.9", "5", "4600000000001"}},
        {5, {"2", "Хлеб бородинский", "549.9", "3", "4600000000018"}},
        {6, {"17", "Сыр российский весовой выдержанный 45%", "65", "30", "4600000000025"}},
    };
    const Rows formulas = {
        {1, {"Код", "Наименование", "Закупка", "Цена"}},
        {2, {"5", "Кефир 1%", "45.5", "91.1"}},
    };
    // libfreexl reads no stored values of formulas: an .xls gives them empty, and an empty price
    // is a bad cell that stops the import.
    const Rows xlsFormulas = {{1, formulas.at(1)}, {2, {"5", "", "45.5"}}};
    struct Case {
        const char* file;
        Rows rows;
    };
    const Case cases[] = {
        {"price_list.xlsx", priceList}, {"price_list.ods", priceList},
        {"price_list.xls", priceList},  {"price_stored_long.xlsx", priceList},
        {"formula.xlsx", formulas},     {"formula.ods", formulas},
        {"formula.xls", xlsFormulas},
    };
    for (const Case& c : cases) {
        const SheetRead read = ReadSheet(FileBytes(DataPath(c.file)), FormatOf(c.file));
        EXPECT_EQ(read.refusal, "") << c.file;
        EXPECT_EQ(read.rows, c.rows) << c.file;
    }
}

TEST(SheetFile, NumbersShowWithAllTheirDigitsAndNoBinaryFractions) {
    struct Case {
        double value;
        std::string shown;
    };
    const Case cases[] = {
        {549.89999999999998, "549.9"},
        {65.0, "65"},
        {4600000000001.0, "4600000000001"},
        {0.1 + 0.2, "0.3"},
        {-0.0, "0"},
        {-12.5, "-12.5"},
        {1e20, "1e+20"},
        {0.001, "0.001"},
        {9007199254740991.0, "9007199254740991"},
    };
    for (const Case& c : cases) EXPECT_EQ(ShownNumber(c.value), c.shown) << c.shown;
    struct Stored {
        const char* text;
        std::string shown;
    };
    const Stored stored[] = {
        {"549.89999999999998", "549.9"},
        {"65.0", "65"},
        {"4.600000000001E12", "4600000000001"},
        {"549,9", "549,9"},
        {"abc", "abc"},
        {"", ""},
        {"12 ", "12 "},
    };
    for (const Stored& s : stored) EXPECT_EQ(ShownNumber(std::string(s.text)), s.shown) << s.text;
}

TEST(SheetFile, ASheetIsChosenByItsName) {
    struct Case {
        const char* file;
        const char* sheet;
        std::size_t rows;
        std::string refusal;
    };
    const Case cases[] = {
        {"formula.xlsx", "Цены", 2, ""},
        {"formula.ods", "Цены", 2, ""},
        {"formula.xls", "Цены", 2, ""},
        {"formula.xlsx", "Остатки", 0, "В книге нет листа «Остатки»; листы: «Цены»"},
        {"formula.ods", "Остатки", 0, "В книге нет листа «Остатки»; листы: «Цены»"},
        {"formula.xls", "Остатки", 0, "В книге нет листа «Остатки»; листы: «Цены»"},
    };
    for (const Case& c : cases) {
        const SheetRead read =
            ReadSheet(FileBytes(DataPath(c.file)), FormatOf(c.file), QString::fromUtf8(c.sheet));
        EXPECT_EQ(read.refusal, c.refusal) << c.file << " " << c.sheet;
        EXPECT_EQ(read.rows.size(), c.rows) << c.file << " " << c.sheet;
    }
}

TEST(SheetFile, BombsAndDamagedBooksAreRefusedQuickly) {
    const std::string xlsx = FileBytes(DataPath("price_list.xlsx"));
    struct Case {
        const char* what;
        std::string bytes;
        SheetFormat format;
        std::string refusal;
    };
    const Case cases[] = {
        {"bomb by its sizes", FileBytes(DataPath("bomb_declared.xlsx")), SheetFormat::Xlsx,
         "Файл распаковывается больше чем в 256 МБ: это не список"},
        {"bomb hiding its sizes", FileBytes(DataPath("bomb_lying.xlsx")), SheetFormat::Xlsx,
         "Книга повреждена: лист не прочитан до конца"},
        {"cut short", xlsx.substr(0, xlsx.size() / 2), SheetFormat::Xlsx,
         "Файл не открывается как книга .xlsx: он повреждён или это не книга"},
        {"xlsx as ods", xlsx, SheetFormat::Ods,
         "Файл не открывается как книга .ods: он повреждён или это не книга"},
        {"xlsx as xls", xlsx, SheetFormat::Xls,
         "Файл не открывается как книга .xls: он повреждён или это не книга"},
        // libfreexl reads past its buffers on this one: its reader's process takes the blow.
        {"a book that trips libfreexl", FileBytes(DataPath("damaged_overread.xls")),
         SheetFormat::Xls, "Файл не открывается как книга .xls: он повреждён или это не книга"},
        {"text", "PLU;Цена\r\n1;5\r\n", SheetFormat::Xlsx,
         "Файл не открывается как книга .xlsx: он повреждён или это не книга"},
        {"empty", "", SheetFormat::Xls,
         "Файл не открывается как книга .xls: он повреждён или это не книга"},
    };
    for (const Case& c : cases) {
        const SheetRead read = ReadSheet(c.bytes, c.format);
        EXPECT_EQ(read.refusal, c.refusal) << c.what;
    }
}

}  // namespace
}  // namespace tables
