// Price lists with columns of their own on the command line: chosen once, remembered, refused
// with the --columns that would read them; and lists written as workbooks.

#include <gtest/gtest.h>

#include <QFile>
#include <map>

#include "CliFixture.h"
#include "CodePage1251.h"
#include "SheetFile.h"

namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

QString Fixture(const char* name) {
    return QString::fromLocal8Bit(qgetenv("QVSCALE_TEST_DATA")) + '/' + name;
}

const char* const kColumns = "Код=plu,Наименование=name,Цена=price_rub,Срок годности=shelf_life";

TEST(CliPriceList, AChoiceGivenOnceWithRememberReadsTheSameExportTomorrow) {
    CliFixture f;
    const QString first = f.Path("first.plu");
    const CliRun chosen = RunCli({"convert", "--columns", QString::fromUtf8(kColumns), "--remember",
                                  Fixture("price_list_cp1251.csv"), first});
    ASSERT_EQ(chosen.exitCode, 0) << chosen.err;
    EXPECT_TRUE(Has(chosen.out + chosen.err, "Выбор столбцов запомнен")) << chosen.out;
    struct Case {
        const char* fixture;
        int exitCode;
    };
    const Case cases[] = {
        {"price_list.xlsx", 0},     {"price_list.ods", 0}, {"price_list.xls", 0},
        {"price_list_utf8.csv", 0}, {"formula.xlsx", 3},  // a header never chosen for
    };
    for (const Case& c : cases) {
        const QString out = f.Path("again.plu");
        QFile::remove(out);
        const CliRun run = RunCli({"convert", Fixture(c.fixture), out});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.fixture << run.err;
        if (c.exitCode == 0) {
            EXPECT_EQ(CliFixture::ReadFile(out), CliFixture::ReadFile(first)) << c.fixture;
        }
    }
}

TEST(CliPriceList, ANewHeaderIsRefusedWithTheColumnsThatWouldReadIt) {
    struct Case {
        QStringList args;
        const char* fixture;
        std::vector<std::string> says;
    };
    const Case cases[] = {
        {{"convert"},
         "price_list.ods",
         {"Строка заголовков (3): Код; Наименование; Цена; Срок годности; Штрихкод",
          std::string("--columns \"") + kColumns + "\""}},
        {{"download", "--port", "COM2"},
         "price_list_utf8.csv",
         {"В заголовке нет столбца номера", std::string("--columns \"") + kColumns + "\""}},
        {{"compare", "--port", "COM2", "--columns", "Артикул=plu"},
         "price_list.xlsx",
         {"нет всех выбранных столбцов", "Строка заголовков (3)"}},
    };
    for (const Case& c : cases) {
        CliFixture f;
        QStringList args = c.args;
        args << Fixture(c.fixture);
        if (c.args.front() == "convert") args << f.Path("out.plu");
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, 3) << c.fixture;
        for (const std::string& part : c.says)
            EXPECT_TRUE(Has(run.err, part)) << c.fixture << ": " << run.err;
        EXPECT_TRUE(CliFixture::StoredPlus(f.Scale()).empty()) << c.fixture;
    }
}

TEST(CliPriceList, ASheetIsReadByItsNameWithTheFormulasValues) {
    struct Case {
        const char* sheet;
        int exitCode;
        std::string says;
    };
    const Case cases[] = {
        {"Цены", 0, "Записано строк: 1"},
        {"Остатки", 3, "В книге нет листа «Остатки»; листы: «Цены»"},
    };
    for (const Case& c : cases) {
        CliFixture f;
        const QString out = f.Path("out.plu");
        const CliRun run =
            RunCli({"convert", "--sheet", QString::fromUtf8(c.sheet), "--columns",
                    "Код=plu,Наименование=name,Цена=price_rub", Fixture("formula.ods"), out});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.sheet << run.err;
        EXPECT_TRUE(Has(run.out + run.err, c.says)) << c.sheet << ": " << run.out << run.err;
        if (c.exitCode == 0) {
            EXPECT_TRUE(Has(CliFixture::ReadFile(out), "\r\n9110\r\n")) << "91.1 roubles";
        }
    }
}

TEST(CliPriceList, TheImportOptionsAreCheckedBeforeAnyFileIsRead) {
    struct Case {
        QStringList args;
        std::string says;
    };
    const Case cases[] = {
        {{"--columns", "Код"}, "--columns: нужно СТОЛБЕЦ=ЧТО"},
        {{"--header-row", "0"}, "--header-row: нужен номер строки от 1"},
        {{"--remember"}, "--remember запоминает столбцы из --columns"},
    };
    for (const Case& c : cases) {
        CliFixture f;
        const CliRun run = RunCli(QStringList{"convert"} + c.args +
                                  QStringList{Fixture("price_list.xlsx"), f.Path("out.plu")});
        EXPECT_EQ(run.exitCode, 2) << c.says;
        EXPECT_TRUE(Has(run.err, c.says)) << run.err;
    }
    CliFixture f;
    const CliRun watch = RunCli({"watch", "--port", "COM2", "--columns", "1=plu", f.Path("")});
    EXPECT_EQ(watch.exitCode, 2);
    EXPECT_TRUE(Has(watch.err, "Команда watch не берёт --columns")) << watch.err;
    const CliRun upload =
        RunCli({"upload", "--port", "COM2", "--sheet", "Цены", "-o", f.Path("x.plu")});
    EXPECT_EQ(upload.exitCode, 2);
    EXPECT_TRUE(Has(upload.err, "Команда upload не берёт --sheet")) << upload.err;
}

TEST(CliPriceList, ConvertWritesAWorkbookWithTitlesAndNumbers) {
    CliFixture f;
    const QString book = f.Path("list.xlsx");
    ASSERT_EQ(RunCli({"convert", f.WritePluList("list.plu", 2), book}).exitCode, 0);
    std::map<int, std::vector<std::string>> rows;
    const std::string bytes = CliFixture::ReadFile(book);
    EXPECT_EQ(tables::ForEachSheetRow(bytes, tables::SheetFormat::Xlsx, {},
                                      [&](std::vector<std::string>& cells, int line) {
                                          for (const auto& cell : cells)
                                              rows[line].push_back(tables::Cp1251ToUtf8(cell));
                                          return true;
                                      }),
              "");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].front(), "PLU");
    EXPECT_EQ(rows[1].at(3), "Цена");
    EXPECT_EQ(rows[3].front(), "2");
    EXPECT_EQ(rows[3].at(3), "200");
    const CliRun back = RunCli({"convert", book, f.Path("back.plu")});
    EXPECT_EQ(back.exitCode, 0) << back.err;
    EXPECT_EQ(CliFixture::ReadFile(f.Path("back.plu")), CliFixture::ReadFile(f.Path("list.plu")));
}

}  // namespace
