// compare, and download --changed-only, run as a user runs them against virtual scales.

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <functional>
#include <sstream>

#include "CliFixture.h"
#include "ScaleLists.h"

namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

int CountEvents(const std::string& out, const char* name) {
    int count = 0;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        const QJsonObject event = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        count += event["event"] == name;
    }
    return count;
}

// The PLU numbers each complete download exchange carried since the scale was last cleared.
std::vector<int> Downloaded(const sim::VirtualScale& scale) {
    std::vector<int> plus;
    for (const sim::Exchange& e : scale.Exchanges())
        if (e.kind == sim::Kind::PluDownload && e.complete) plus.push_back(e.number);
    return plus;
}

void SetPrice(sim::VirtualScale& scale, int plu, int price) {
    sim::PluRecord record = *scale.FindPlu(static_cast<std::uint16_t>(plu));
    record.price = price;
    scale.PutPlu(record);
}

TEST(CliCompare, SaysEachDifferenceExitsOneWhenAScaleDiffersAndKeepsWhatItRead) {
    struct Case {
        const char* name;
        std::function<void(sim::VirtualScale&)> meddle;  // with COM3's scale
        int exitCode;
        std::vector<std::string> says;  // about COM3
        std::vector<int> thenSent;      // by a changed-only load of the list after the compare
    };
    const Case cases[] = {
        {"the same",
         [](sim::VirtualScale&) {},
         0,
         {"совпадает: 4, отличается: 0, нет в весах: 0, нет в списке: 0"},
         {}},
        {"a price keyed in",
         [](sim::VirtualScale& s) { SetPrice(s, 2, 201); },
         1,
         {"PLU 2, «Цена»: в списке «200», в весах «201»",
          "совпадает: 3, отличается: 1, нет в весах: 0, нет в списке: 0"},
         {2}},
        {"a PLU gone and another there",
         [](sim::VirtualScale& s) { SwapPlu(s, 3, 9); },
         1,
         {"PLU 3: нет в весах", "PLU 9: нет в списке",
          "совпадает: 3, отличается: 0, нет в весах: 1, нет в списке: 1"},
         {3}},
    };
    for (const Case& c : cases) {
        CliFixture f({2, 3});
        const QString list = f.WritePluList("list.plu", 4);
        ASSERT_EQ(RunCli({"download", "--port", "COM2", "--port", "COM3", list}).exitCode, 0);
        c.meddle(f.Scale(1));
        const CliRun run = RunCli({"compare", "--port", "COM2", "--port", "COM3", list});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << run.err;
        const std::string said = run.out + run.err;
        EXPECT_TRUE(Has(said, "COM2: совпадает: 4, отличается: 0")) << c.name << said;
        for (const auto& line : c.says) EXPECT_TRUE(Has(said, "COM3: " + line)) << c.name << said;

        const CliRun json = RunCli({"compare", "--json", "--port", "COM3", list});
        EXPECT_EQ(json.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(CountEvents(json.out, "difference"), static_cast<int>(c.says.size()) - 1)
            << c.name << json.out;
        EXPECT_EQ(CountEvents(json.out, "compare-end"), 1) << c.name << json.out;

        f.Scale(1).ClearReceived();
        const CliRun changes = RunCli({"download", "--changed-only", "--port", "COM3", list});
        EXPECT_EQ(changes.exitCode, 0) << c.name << changes.err;
        EXPECT_EQ(Downloaded(f.Scale(1)), c.thenSent) << c.name;
    }
    CliFixture f;
    EXPECT_EQ(
        RunCli({"compare", "--port", "COM2", f.WriteFile("list.msg", "1\r\n***\r\n")}).exitCode, 2);
}

TEST(CliChangedOnly, SendsOnlyChangedRowsAndNothingToAScaleItCannotTrust) {
    struct Case {
        const char* name;
        bool loadFirst;
        std::function<void(sim::VirtualScale&)> meddle;
        QStringList options;
        int exitCode;
        std::vector<int> sent;
        std::string says;
        std::string logged;
    };
    auto untouched = [](sim::VirtualScale&) {};
    auto anotherList = [](sim::VirtualScale& s) {
        for (int plu = 1; plu <= 5; ++plu) SetPrice(s, plu, 7);
    };
    const std::vector<int> all{1, 2, 3, 4, 5};
    const Case cases[] = {
        {"after a full load", true, untouched, {}, 0, {3}, "без изменений: 4", "rows 1/1 ok"},
        {"nothing known", false, untouched, {}, 1, {}, "неизвестно, что сейчас в весах", ""},
        {"nothing known, the whole list asked for",
         false,
         untouched,
         {"--full-if-unknown"},
         0,
         all,
         "Передаётся весь список",
         "rows 5/5 ok"},
        {"another list on the scale",
         true,
         anotherList,
         {},
         1,
         {},
         "возможно, цену ввели на самих весах или кабель теперь подключён к другим весам",
         "known-stale"},
        {"another list, the whole list asked for",
         true,
         anotherList,
         {"--full-if-unknown"},
         0,
         all,
         "Передаётся весь список",
         "known-stale"},
    };
    for (const Case& c : cases) {
        CliFixture f;
        const QString list = f.WritePluList("list.plu", 5);
        if (c.loadFirst) {
            ASSERT_EQ(RunCli({"download", "--port", "COM2", list}).exitCode, 0);
        }
        c.meddle(f.Scale());
        std::string bytes = CliFixture::ReadFile(list);
        bytes.replace(bytes.find("\r\n300\r\n"), 7, "\r\n333\r\n");
        f.WriteFile("list.plu", bytes);
        f.Scale().ClearReceived();
        const CliRun run =
            RunCli(QStringList{"download", "--changed-only", "--port", "COM2", list} + c.options);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << run.err;
        EXPECT_EQ(Downloaded(f.Scale()), c.sent) << c.name;
        EXPECT_TRUE(Has(run.out + run.err, c.says)) << c.name << run.out << run.err;
        if (!c.sent.empty()) {
            EXPECT_EQ(f.Scale().FindPlu(3)->price, 333) << c.name;
        }
        // What the scale did not back is forgotten: the next load knows nothing.
        if (c.loadFirst && c.exitCode == 1) {
            const CliRun again = RunCli({"download", "--changed-only", "--port", "COM2", list});
            EXPECT_TRUE(Has(again.err, "неизвестно, что сейчас в весах")) << c.name << again.err;
        }
        if (!c.logged.empty()) {
            EXPECT_TRUE(Has(f.Log(), c.logged)) << c.name << f.Log();
        }
    }
    CliFixture f;
    const QString messages =
        f.WriteFile("list.msg", "1\r\nA\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n***\r\n");
    const QStringList usage[] = {
        {"download", "--changed-only", "--port", "COM2", messages},
        {"download", "--full-if-unknown", "--port", "COM2", messages},
        {"upload", "--changed-only", "--port", "COM2", "-o", "x.plu"},
    };
    for (const auto& args : usage)
        EXPECT_EQ(RunCli(args).exitCode, 2) << args.join(' ').toStdString();
    EXPECT_EQ(RunCli({"download", "--changed-only", "--trust-known", "--full-if-unknown", "--port",
                      "COM2", messages})
                  .exitCode,
              0);
}

}  // namespace
