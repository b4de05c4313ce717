// A list's CSV file into rows for the table: taken whole, or refused with every problem counted.

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <fstream>

#include "../tables/TableTestSupport.h"
#include "CodePage1251.h"
#include "CsvFile.h"
#include "CsvImport.h"
#include "TableFile.h"

namespace jobs {
namespace {

using tables::testing::DataPath;
using tables::testing::FileBytes;

using tables::testing::Cp1251;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(CsvImport, FilesAreTakenWholeOrRefusedWithTheirProblems) {
    struct Case {
        const char* file;
        int rows;  // data rows imported; 0 when refused
        std::vector<std::string> problems;
        std::vector<std::string> says;
    };
    const Case cases[] = {
        {"goods_cp1251.csv", 4, {}, {"Импортировано строк: 4", "столбцы: «Ед. изм.», «Остаток»"}},
        {"long_names.csv", 4, {}, {"обрезано: строка 2, PLU 1; строка 3, PLU 2"}},
        {"price_three_decimals.csv",
         0,
         {"3 Цена, руб: больше двух знаков после запятой: «549,999»"},
         {"Строка 3, PLU 2, «Цена, руб»: больше двух",
          "Строк с ошибками: 1. Ничего не импортировано"}},
        {"duplicate_plu.csv", 0, {"4 PLU: PLU 17 уже есть в строке 2"}, {"Строк с ошибками: 1"}},
        {"not_a_list.png", 0, {}, {"Файл не похож на CSV-файл списка: в нём двоичные данные"}},
    };
    for (const Case& c : cases) {
        const ImportReport report = ImportListFile(QString::fromStdString(DataPath(c.file)));
        EXPECT_EQ(report.Imported(), c.rows > 0) << c.file;
        EXPECT_EQ(report.rows.size(), c.rows > 0 ? c.rows + 1u : 0u) << c.file;
        std::vector<std::string> problems;
        for (const ImportProblem& p : report.problems)
            problems.push_back(std::to_string(p.line) + " " + p.column + ": " + p.reason);
        EXPECT_EQ(problems, c.problems) << c.file;
        for (const std::string& part : c.says)
            EXPECT_TRUE(Has(ReportText(report), part)) << c.file << ": " << ReportText(report);
    }
}

TEST(CsvImport, AWholeNameFillsBothLinesAndLosesOnlyWhatTheSecondCannotHold) {
    const ImportReport report = ImportListFile(QString::fromStdString(DataPath("long_names.csv")));
    const std::pair<const char*, const char*> expected[] = {
        {"Сыр полутвёрдый Голландский", "брусковый 45% весовой"},
        {"Колбаса варёная Докторская", "высший сорт ГОСТ в"},
        {"Шоколадмолочныйсортовойбезор", "ехаиизюмавфольге 90 г"},
        {"Печенье овсяное", ""},
    };
    ASSERT_EQ(report.rows.size(), std::size(expected) + 1);
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(report.rows[i][tables::Column::Name1], Cp1251(expected[i].first)) << i;
        EXPECT_EQ(report.rows[i][tables::Column::Name2], Cp1251(expected[i].second)) << i;
    }
    EXPECT_EQ(report.namesCut, (std::vector<RowPlace>{{2, "PLU 1"}, {3, "PLU 2"}}));
}

// Each bad cell of a row is named, by the line of the file and the record the row is for.
TEST(CsvImport, EveryBadCellIsNamedByItsLineAndRecord) {
    struct Case {
        const char* what;
        std::string csv;
        std::vector<std::string> problems;
        int badRows;
    };
    const Case cases[] = {
        {"two cells the check refuses",
         "PLU;name;price;shelf_life;tare\r\n1;a;100;5;0\r\n7;b;abc;400;0\r\n",
         {"Строка 3, PLU 7, «price»: не число: «abc»",
          "Строка 3, PLU 7, «shelf_life»: срок годности вне 0..366"},
         1},
        {"a price the reading refuses and a cell the check refuses",
         "PLU;name;price_rub;tare\r\n5;a;1,999;x\r\n",
         {"Строка 2, PLU 5, «price_rub»: больше двух знаков после запятой: «1,999»",
          "Строка 2, PLU 5, «tare»: не число: «x»"},
         1},
        {"no number to name the record by",
         "PLU;name;price\r\nx;a;abc\r\n3;b;oops\r\n",
         {"Строка 2, «PLU»: не число: «x»", "Строка 2, «price»: не число: «abc»",
          "Строка 3, PLU 3, «price»: не число: «oops»"},
         2},
        {"a message list", "MSG;line1\r\n12x;a\r\n", {"Строка 2, «MSG»: не число: «12x»"}, 1},
    };
    for (const Case& c : cases) {
        const ImportReport report = ImportCsvBytes(c.csv);
        std::vector<std::string> problems;
        for (const ImportProblem& p : report.problems) problems.push_back(ProblemText(p));
        EXPECT_EQ(problems, c.problems) << c.what;
        EXPECT_EQ(report.badRows, c.badRows) << c.what;
        const std::string text = ReportText(report);
        for (const std::string& problem : c.problems)
            EXPECT_TRUE(Has(text, problem + "\n")) << c.what << ": " << text;
        EXPECT_TRUE(Has(text, "Строк с ошибками: " + std::to_string(c.badRows) + "."))
            << c.what << ": " << text;
    }
}

TEST(CsvImport, ANameIsCutBetweenWordsWhereAWordFits) {
    const struct {
        const char* name;
        const char* line1;
        const char* line2;
        bool cut;
    } cases[] = {
        {"Сыр", "Сыр", "", false},
        {"Масло сливочное крестьянское 72,5% высшего сорта в фольге 180 г",
         "Масло сливочное крестьянское", "72,5% высшего сорта в фольге", true},
        // A word that fills a line to its last letter stays whole.
        {"Абвгдеёжзийклмнопрстуфхцчшщъ эюя", "Абвгдеёжзийклмнопрстуфхцчшщъ", "эюя", false},
        // A word longer than a line can only be cut inside.
        {"Абвгдеёжзийклмнопрстуфхцчшщъыь эюя", "Абвгдеёжзийклмнопрстуфхцчшщъ", "ыь эюя", false},
        {"Сок яблочный восстановленный осветлённый для детского питания с мякотью",
         "Сок яблочный восстановленный", "осветлённый для детского", true},
        {"Чай 123456789012345678901234567890", "Чай", "1234567890123456789012345678", true},
    };
    for (const auto& c : cases) {
        const ImportReport report = ImportCsvBytes(std::string("PLU;name\r\n1;") + c.name + "\r\n");
        ASSERT_TRUE(report.Imported()) << c.name << ": " << ReportText(report);
        EXPECT_EQ(report.rows[0][tables::Column::Name1], Cp1251(c.line1)) << c.name;
        EXPECT_EQ(report.rows[0][tables::Column::Name2], Cp1251(c.line2)) << c.name;
        EXPECT_EQ(report.namesCut.size(), c.cut ? 1u : 0u) << c.name;
    }
}

TEST(CsvImport, ProblemsAreFoundByTheLinesAnEditorShowsInALargeFile) {
    // A quoted cell over two lines at lines 100-101 moves every later row a line down.
    std::string csv = "PLU;Первая строка;Цена\r\n";
    for (int line = 2; line < 45000; ++line) {
        const std::string plu = std::to_string(line);
        if (line == 100) {
            csv += plu + ";\"Хлеб\r\nржаной\";100\r\n";
            ++line;
        } else {
            csv += plu + (line == 40000 ? ";Булка;12,5\r\n" : ";Булка;100\r\n");
        }
    }
    QTemporaryDir dir;
    const QString path = dir.filePath("large.csv");
    std::ofstream(path.toStdString(), std::ios::binary) << csv;
    const ImportReport report = ImportListFile(path);
    ASSERT_EQ(report.problemCount, 2) << ReportText(report);
    EXPECT_EQ(report.problems[0].line, 100);
    EXPECT_EQ(report.problems[1].line, 40000);
    EXPECT_EQ(report.problems[1].column, "Цена");
    EXPECT_EQ(report.problems[1].reason, "не число: «12,5»");
    EXPECT_TRUE(report.rows.empty());
}

TEST(CsvImport, ListsTheFirstProblemsAndCountsThemAll) {
    std::string csv = "MSG;Первая строка\r\n";
    for (int i = 0; i < 120; ++i) csv += "x" + std::to_string(i) + ";\r\n";
    const ImportReport report = ImportCsvBytes(csv);
    EXPECT_EQ(report.problemCount, 120);
    ASSERT_EQ(report.problems.size(), static_cast<std::size_t>(kProblemsListed));
    EXPECT_EQ(report.problems.back().line, kProblemsListed + 1);
    EXPECT_TRUE(Has(ReportText(report), "Строк с ошибками: 120 (не показано ошибок: 70)"));
}

TEST(CsvImport, ATableFileComesBackAsSaveWritesItThroughCsv) {
    struct Case {
        const char* file;
        tables::ListKind kind;
        bool asSaved;  // the file is what Save writes, so it comes back byte for byte
    };
    const Case cases[] = {
        {"awkward_cells.plu", tables::ListKind::Plu, true},
        {"awkward_cells.msg", tables::ListKind::Msg, true},
        {"no_marker.plu", tables::ListKind::Plu, false},
        {"marker_at_line_5.msg", tables::ListKind::Msg, false},
    };
    for (const Case& c : cases) {
        const std::string original = FileBytes(DataPath(c.file));
        tables::Table table;
        tables::WriteTitles(table, c.kind);
        tables::LoadRows(table, tables::ParseTableFile(original));
        const int dataRows = tables::DataRowCount(table);
        const std::string saved = tables::TableFileBytes(table, dataRows);
        EXPECT_EQ(saved == original, c.asSaved) << c.file;
        for (const auto encoding : {tables::CsvEncoding::Utf8, tables::CsvEncoding::Cp1251}) {
            const ImportReport report =
                ImportCsvBytes(tables::CsvBytes(table, c.kind, dataRows, encoding));
            ASSERT_TRUE(report.Imported()) << c.file << ": " << ReportText(report);
            EXPECT_EQ(report.kind, c.kind) << c.file;
            tables::Table back;
            tables::LoadRows(back, report.rows);
            EXPECT_EQ(tables::TableFileBytes(back, tables::DataRowCount(back)), saved) << c.file;
        }
    }
}

}  // namespace
}  // namespace jobs
