// watch against virtual scales: files taken whole and in order, moved once their run ended, kept
// while a scale does not answer, and kept through a stop or a kill.

#include <gmock/gmock.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "CliFixture.h"

namespace {

using std::chrono::seconds;
using testing::HasSubstr;

bool Exists(const QString& path) {
    return QFileInfo::exists(path);
}

std::vector<int> Range(int first, int last) {
    std::vector<int> numbers;
    for (int n = first; n <= last; ++n) numbers.push_back(n);
    return numbers;
}

QString Inbox(const CliFixture& f) {
    QDir().mkpath(f.Path("inbox"));
    return f.Path("inbox");
}

// Short retries and byte waits; a later --retry-ms in `args` wins.
std::unique_ptr<CliProcess> Watch(const QString& dir, const QStringList& args) {
    return std::make_unique<CliProcess>(
        QStringList{"watch", "--retry-ms", "200,400", "--byte-timeout-ms", "200", dir} + args);
}

// Until the file's log lies beside it in done/ or failed/.
bool Settled(CliProcess& cli, const QString& moved) {
    return cli.WaitUntil([&] { return Exists(moved + ".log"); }, 30000);
}

// A field of each JSON event of this name, in the order the events came; a list joined by commas.
std::vector<std::string> Fields(const std::string& out, const QString& event, const char* field) {
    std::vector<std::string> values;
    for (const QString& line : QString::fromStdString(out).split('\n')) {
        const QJsonObject e = QJsonDocument::fromJson(line.toUtf8()).object();
        if (e["event"] == event)
            values.push_back(e[field].toVariant().toStringList().join(',').toStdString());
    }
    return values;
}

void ExpectStopped(CliProcess& cli, int signal = SIGTERM) {
    cli.Signal(signal);
    ASSERT_TRUE(cli.Finish(5000));
    EXPECT_EQ(cli.ExitCode(), 130);
}

TEST(CliWatch, AFileIsTakenOnceItIsWholeSentOnceAndMovedToDoneWithItsLog) {
    struct Case {
        const char* name;
        bool slow;         // written in two halves 300 ms apart; else moved in whole
        bool writerFirst;  // the writer has it open before watch starts
    };
    const Case cases[] = {{"written slowly while watched", true, false},
                          {"still being written when watch starts", true, true},
                          {"moved in", false, false}};
    for (const auto& c : cases) {
        CliFixture f;
        const std::string bytes = CliFixture::ReadFile(f.WritePluList("source.plu", 6));
        const QString dir = Inbox(f);
        const std::string target = (dir + "/list.plu").toStdString();
        const std::size_t half = bytes.size() / 2;
        std::FILE* writer = nullptr;
        const auto writeHalf = [&] {
            // Close-on-exec ("e"): the watch started later must not hold it open too.
            writer = std::fopen(target.c_str(), "wbe");
            std::fwrite(bytes.data(), 1, half, writer);
            std::fflush(writer);
        };
        if (c.writerFirst) writeHalf();
        auto cli = Watch(dir, {"--port", "COM2"});
        ASSERT_TRUE(cli->WaitUntil([&] { return !cli->Out().empty(); })) << c.name;
        if (c.slow) {
            if (!c.writerFirst) writeHalf();
            EXPECT_FALSE(cli->WaitUntil([&] { return !f.Scale().Received().empty(); }, 300));
            std::fwrite(bytes.data() + half, 1, bytes.size() - half, writer);
            std::fclose(writer);
        } else {
            std::rename(f.WriteFile("elsewhere.plu", bytes).toStdString().c_str(), target.c_str());
        }
        ASSERT_TRUE(Settled(*cli, dir + "/done/list.plu")) << c.name << cli->Err();
        EXPECT_FALSE(Exists(dir + "/list.plu")) << c.name;
        EXPECT_EQ(CliFixture::ReadFile(dir + "/done/list.plu"), bytes) << c.name;
        EXPECT_EQ(CliFixture::StoredPlus(f.Scale()), Range(1, 6)) << c.name;
        EXPECT_EQ(f.Scale().Exchanges().size(), 6u) << c.name;
        EXPECT_THAT(CliFixture::ReadFile(dir + "/done/list.plu.log"),
                    HasSubstr("COM2: готово, строк: 6 из 6"));
        ExpectStopped(*cli);
    }
}

TEST(CliWatch, ASilentScaleHoldsTheQueueAndTheRetryGoesOnlyToThePortsThatLackTheFile) {
    const std::vector<std::vector<int>> cases = {{2}, {3, 2}};  // the last one is silent
    for (const auto& coms : cases) {
        CliFixture f(coms);
        sim::VirtualScale& silent = f.Scale(coms.size() - 1);
        silent.Inject(FaultAt(sim::Kind::Any, 0, sim::Step::Ready, sim::Action::Silence, true));
        const QString dir = Inbox(f);
        f.WritePluList("inbox/list.plu", 4);
        QStringList args = {"--json"};
        for (int n : coms) args.append({"--port", QString("COM%1").arg(n)});
        auto cli = Watch(dir, args);
        ASSERT_TRUE(cli->WaitForErr("COM2: весы не отвечают, повтор через 0,2 с")) << cli->Err();
        f.WritePluList("inbox/later.plu", 2);
        // Another try or two: time for the later file to jump the queue, were it let.
        ASSERT_TRUE(cli->WaitForErr("повтор через 0,4 с")) << cli->Err();
        EXPECT_TRUE(Exists(dir + "/list.plu") && Exists(dir + "/later.plu"));
        silent.ClearFaults();
        ASSERT_TRUE(Settled(*cli, dir + "/done/later.plu")) << cli->Err();
        const std::string at = dir.toStdString();
        EXPECT_EQ(Fields(cli->Out(), "file-end", "path"),
                  (std::vector<std::string>{at + "/done/list.plu", at + "/done/later.plu"}));
        for (std::size_t i = 0; i < coms.size(); ++i)
            EXPECT_EQ(CliFixture::StoredPlus(f.Scale(i)), Range(1, 4)) << i;
        EXPECT_TRUE(coms.size() == 1 || f.Scale(0).Exchanges().size() == 6u) << "sent again";
        EXPECT_EQ(Fields(cli->Out(), "retry-wait", "ports").front(), "COM2") << cli->Out();
        EXPECT_THAT(CliFixture::ReadFile(dir + "/done/list.plu.log"), HasSubstr("повтор через"));
        ExpectStopped(*cli);
    }
}

TEST(CliWatch, FilesFoundAtStartGoOldestFirstABadOneToFailedAndATakenNameIsKept) {
    CliFixture f;
    const QString dir = Inbox(f);
    const std::string newest = CliFixture::ReadFile(f.WritePluList("inbox/a.plu", 2));
    f.WritePluList("inbox/b.plu", 3);
    f.WriteFile("inbox/bad.plu", "1\r\nA\r\n\r\n12,5\r\n5\r\n0\r\n1\r\n1\r\n0\r\n***\r\n");
    const auto now = std::filesystem::file_time_type::clock::now();
    const std::pair<const char*, int> ages[] = {{"a", 10}, {"bad", 20}, {"b", 30}};
    for (const auto& [name, age] : ages)
        std::filesystem::last_write_time(
            f.Path("inbox/" + std::string(name) + ".plu").toStdString(), now - seconds(age));
    QDir().mkpath(dir + "/done");
    f.WriteFile("inbox/done/a.plu", "earlier");
    auto cli = Watch(dir, {"--port", "COM2", "--json"});
    ASSERT_TRUE(Settled(*cli, dir + "/done/a-2.plu")) << cli->Err();
    const std::string at = dir.toStdString();
    EXPECT_EQ(Fields(cli->Out(), "file-end", "path"),
              (std::vector<std::string>{at + "/done/b.plu", at + "/failed/bad.plu",
                                        at + "/done/a-2.plu"}));
    EXPECT_THAT(CliFixture::ReadFile(dir + "/failed/bad.plu.log"),
                HasSubstr("Строка 1, «Цена»: не число: «12,5»"));
    EXPECT_EQ(f.Scale().Exchanges().size(), 5u);
    EXPECT_EQ(CliFixture::ReadFile(dir + "/done/a.plu"), "earlier");
    EXPECT_EQ(CliFixture::ReadFile(dir + "/done/a-2.plu"), newest);
    ExpectStopped(*cli);
}

TEST(CliWatch, AnOlderFileStillWrittenAtStartHoldsTheNewerOnesBehindIt) {
    CliFixture f;
    const QString dir = Inbox(f);
    const std::string older = CliFixture::ReadFile(f.WritePluList("source.plu", 3));
    f.WritePluList("inbox/newer.plu", 2);
    const std::string path = (dir + "/older.plu").toStdString();
    std::FILE* writer = std::fopen(path.c_str(), "wbe");
    ASSERT_NE(writer, nullptr);
    std::fwrite(older.data(), 1, older.size() / 2, writer);
    std::fflush(writer);
    const auto now = std::filesystem::file_time_type::clock::now();
    std::filesystem::last_write_time(path, now - seconds(30));
    std::filesystem::last_write_time((dir + "/newer.plu").toStdString(), now - seconds(10));
    auto cli = Watch(dir, {"--port", "COM2", "--json"});
    EXPECT_TRUE(cli->WaitForErr("Файл older.plu ещё записывается", 5000)) << cli->Err();
    EXPECT_TRUE(f.Scale().Received().empty());
    std::fwrite(older.data() + older.size() / 2, 1, older.size() - older.size() / 2, writer);
    std::fclose(writer);
    ASSERT_TRUE(Settled(*cli, dir + "/done/newer.plu")) << cli->Err();
    const std::string at = dir.toStdString();
    EXPECT_EQ(Fields(cli->Out(), "file-end", "path"),
              (std::vector<std::string>{at + "/done/older.plu", at + "/done/newer.plu"}));
    EXPECT_EQ(CliFixture::ReadFile(dir + "/done/older.plu"), older);
    ExpectStopped(*cli);
}

TEST(CliWatch, AFileUnderWayWhenWatchEndsStaysAndTheNextWatchSendsItWhole) {
    struct Case {
        const char* name;
        int signal;
        int baud;
        bool silent;
        int rows;              // 0: no file, watch is idle
        std::string said;      // on either output before the signal
        std::size_t received;  // bytes the scale has before the signal
    };
    const Case cases[] = {{"idle", SIGTERM, 0, false, 0, "Жду файлы", 0},
                          {"in a run", SIGINT, 9600, false, 40, "передаю в весы", 3 * 81},
                          {"killed in a run", SIGKILL, 9600, false, 40, "передаю в весы", 5 * 81},
                          {"waiting to retry", SIGTERM, 0, true, 2, "повтор через 1 мин", 0}};
    for (const auto& c : cases) {
        CliFixture f({2}, c.baud);
        if (c.silent)
            f.Scale().Inject(
                FaultAt(sim::Kind::Any, 0, sim::Step::Ready, sim::Action::Silence, true));
        const QString dir = Inbox(f);
        if (c.rows) f.WritePluList("inbox/list.plu", c.rows);
        auto cli = Watch(dir, {"--port", "COM2", "--retry-ms", "60000"});
        ASSERT_TRUE(cli->WaitUntil([&] {
            return (cli->Out() + cli->Err()).find(c.said) != std::string::npos &&
                   f.Scale().Received().size() >= c.received;
        })) << c.name;
        cli->Signal(c.signal);
        EXPECT_TRUE(cli->Finish(5000) || c.signal == SIGKILL) << c.name;
        EXPECT_TRUE(c.signal == SIGKILL || cli->ExitCode() == 130) << c.name << cli->ExitCode();
        EXPECT_EQ(Exists(dir + "/list.plu"), c.rows > 0) << c.name;
        if (!c.rows) continue;
        EXPECT_LT(CliFixture::StoredPlus(f.Scale()).size(), std::size_t(c.rows)) << c.name;
        // The scale gives up a record cut short before it listens for a new one.
        f.Scale().ClearFaults();
        ASSERT_TRUE(f.Scale().WaitExchanges(f.Scale().Exchanges().size(), seconds(5)));
        auto next = Watch(dir, {"--port", "COM2"});
        ASSERT_TRUE(Settled(*next, dir + "/done/list.plu")) << c.name << next->Err();
        EXPECT_EQ(CliFixture::StoredPlus(f.Scale()), Range(1, c.rows)) << c.name;
        ExpectStopped(*next);
    }
}

}  // namespace
