// CSV files on the command line: loaded straight into a scale, written by an upload, converted.

#include <gtest/gtest.h>

#include "CliFixture.h"

namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

QString Fixture(const char* name) {
    return QString::fromLocal8Bit(qgetenv("QVSCALE_TEST_DATA")) + '/' + name;
}

TEST(CliCsv, ADownloadTakesACsvFileWholeOrSendsNothing) {
    struct Case {
        const char* fixture;
        QStringList extra;
        int exitCode;
        std::vector<int> stored;
        std::string says;
    };
    const Case cases[] = {
        {"goods_cp1251.csv", {}, 0, {1, 2, 3, 4}, "COM2: готово, строк: 4 из 4"},
        {"duplicate_plu.csv", {}, 3, {}, "Строка файла 4, PLU 17, "},
        {"price_three_decimals.csv", {}, 3, {}, "Строка файла 3, PLU 2, «"},
        {"goods_cp1251.csv", {"--kind", "msg"}, 3, {}, "а задан список сообщений"},
    };
    for (const auto& c : cases) {
        CliFixture f;
        const CliRun run =
            RunCli(QStringList{"download", "--port", "COM2", Fixture(c.fixture)} + c.extra);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.fixture << run.err;
        EXPECT_EQ(CliFixture::StoredPlus(f.Scale()), c.stored) << c.fixture;
        EXPECT_TRUE(Has(run.out + run.err, c.says)) << c.fixture << ": " << run.out << run.err;
    }
    CliFixture f;
    ASSERT_EQ(RunCli({"download", "--port", "COM2", Fixture("goods_cp1251.csv")}).exitCode, 0);
    EXPECT_EQ(f.Scale().FindPlu(1)->price, 4550) << "roubles become kopecks";
}

TEST(CliCsv, AnUploadToACsvFileWritesItInTheChosenEncoding) {
    struct Case {
        QStringList extra;
        std::string start;
    };
    const Case cases[] = {
        {{}, "\xEF\xBB\xBFPLU;"},
        {{"--encoding", "cp1251"}, "PLU;\xCF\xE5\xF0\xE2\xE0\xFF"},  // "PLU;Первая"
    };
    for (const auto& c : cases) {
        CliFixture f;
        sim::PluRecord r;
        r.plu = 5;
        r.price = 990;
        f.Scale().PutPlu(r);
        const QString out = f.Path("scale.csv");
        const CliRun run = RunCli(QStringList{"upload", "--port", "COM2", "-o", out} + c.extra);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const std::string bytes = CliFixture::ReadFile(out);
        EXPECT_EQ(bytes.substr(0, c.start.size()), c.start);
        EXPECT_TRUE(Has(bytes, "\r\n5;")) << bytes;
    }
}

TEST(CliCsv, ConvertGoesBothWaysWithTheDownloadsChecks) {
    CliFixture f;
    const QString plu = f.WritePluList("list.plu", 3);
    const QString csv = f.Path("list.csv");
    const QString back = f.Path("back.plu");
    ASSERT_EQ(RunCli({"convert", plu, csv}).exitCode, 0);
    ASSERT_EQ(RunCli({"convert", csv, back}).exitCode, 0);
    EXPECT_EQ(CliFixture::ReadFile(back), CliFixture::ReadFile(plu));

    struct Case {
        QStringList args;
        int exitCode;
    };
    const Case refused[] = {
        {{"convert", Fixture("duplicate_plu.csv"), f.Path("dup.plu")}, 3},
        {{"convert", Fixture("goods_cp1251.csv"), f.Path("goods.msg")}, 3},
        {{"convert", plu, f.Path("copy.plu")}, 2},
    };
    for (const auto& c : refused) {
        EXPECT_EQ(RunCli(c.args).exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_EQ(CliFixture::ReadFile(c.args.last()), "") << "nothing written";
    }
    EXPECT_TRUE(f.Scale().Received().empty());
}

}  // namespace
