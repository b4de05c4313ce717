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

std::string Cp1251(const char* utf8) {
    return tables::EncodeCp1251(QString::fromUtf8(utf8));
}

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
        {"long_names.csv", 4, {}, {"обрезано в строках: 2, 3"}},
        {"price_three_decimals.csv",
         0,
         {"3 Цена, руб: больше двух знаков после запятой: «549,999»"},
         {"Строка 3, «Цена, руб»: больше двух", "Строк с ошибками: 1. Ничего не импортировано"}},
        {"duplicate_plu.csv", 0, {"4 PLU: PLU 17 уже есть в строке 2"}, {"Строк с ошибками: 1"}},
        {"not_a_list.png", 0, {}, {"Файл не похож на CSV-файл списка: в нём двоичные данные"}},
    };
    for (const Case& c : cases) {
        const ImportReport report = ImportCsvFile(QString::fromStdString(DataPath(c.file)));
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
    const ImportReport report = ImportCsvFile(QString::fromStdString(DataPath("long_names.csv")));
    const std::pair<const char*, const char*> expected[] = {
        {"Сыр полутвёрдый Голландский", "брусковый 45% весовой Белару"},
        {"Колбаса варёная Докторская", "высший сорт ГОСТ в натуральн"},
        {"Шоколадмолочныйсортовойбезор", "ехаиизюмавфольге 90 г"},
        {"Печенье овсяное", ""},
    };
    ASSERT_EQ(report.rows.size(), std::size(expected) + 1);
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(report.rows[i][tables::Column::Name1], Cp1251(expected[i].first)) << i;
        EXPECT_EQ(report.rows[i][tables::Column::Name2], Cp1251(expected[i].second)) << i;
    }
    EXPECT_EQ(report.namesCut, (std::vector<int>{2, 3}));
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
    const ImportReport report = ImportCsvFile(path);
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
    EXPECT_TRUE(Has(ReportText(report), "Строк с ошибками: 120 (не показано: 70)"));
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
