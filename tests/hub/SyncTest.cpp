// sync run as a store runs it: against nginx as the hub and virtual scales on pseudo-terminals.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <fstream>
#include <functional>

#include "CliFixture.h"
#include "NginxServer.h"

namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

// The PLU numbers each complete download exchange carried since the scale was last cleared.
std::vector<int> Downloaded(const sim::VirtualScale& scale) {
    std::vector<int> plus;
    for (const sim::Exchange& e : scale.Exchanges())
        if (e.kind == sim::Kind::PluDownload && e.complete) plus.push_back(e.number);
    return plus;
}

// A store "s1" with its scales, and a hub where head office ("ho") writes the lists and reads
// what the store writes, and the store reads only its own lists.
class Store {
  public:
    explicit Store(const std::vector<int>& comNumbers = {2}) : scales_(comNumbers) {
        nginx_.AddUser("ho", "office-pw");
        nginx_.AddUser("s1", "store-pw");
        nginx_.AddUser("s2", "other-pw");
        nginx_.Grant("/lists/s1/", {"s1"}, {"ho"});
        nginx_.Grant("/receipts/s1/", {"ho"}, {"s1"});
        nginx_.Grant("/status/s1.json", {"ho"}, {"s1"});
        if (!nginx_.Start()) throw std::runtime_error(nginx_.LastError());
        for (int n : comNumbers) ports_ << "--port" << QString("COM%1").arg(n);
        Credentials("s1:store-pw", 0600);
    }
    CliFixture& Scales() { return scales_; }
    NginxServer& Hub() { return nginx_; }

    // As head office puts it; each list gets a time of its own, so its ETag changes even
    // within a second.
    void PutList(const std::string& name, const std::string& bytes) {
        const std::string path = nginx_.Root() + "/lists/s1/" + name;
        std::filesystem::create_directories(nginx_.Root() + "/lists/s1");
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        std::filesystem::last_write_time(
            path, std::filesystem::file_time_type::clock::now() + std::chrono::seconds(++puts_));
    }
    void Credentials(const std::string& text, mode_t mode) {
        const std::string path = credentials_.toStdString();
        std::ofstream(path, std::ios::trunc) << text << "\n";
        ::chmod(path.c_str(), mode);
    }
    QJsonObject Served(const std::string& path) const {
        return QJsonDocument::fromJson(QByteArray::fromStdString(CliFixture::ReadFile(
                                           QString::fromStdString(nginx_.Root() + "/" + path))))
            .object();
    }
    QJsonObject Receipt(const std::string& port, const std::string& kind = "plu") const {
        return Served("receipts/s1/" + port + "." + kind + ".json");
    }
    QStringList Args(const QStringList& extra = {}) const {
        return QStringList{"sync",
                           "--hub",
                           QString::fromStdString(nginx_.Url()),
                           "--store",
                           "s1",
                           "--credentials",
                           credentials_,
                           "--hub-timeout-ms",
                           "3000"} +
               ports_ + extra;
    }
    CliRun Sync(const QStringList& extra = {}) const { return RunCli(Args(extra)); }
    std::string KeptDir() const { return scales_.Path("qvscale/hub/s1/pending").toStdString(); }
    std::size_t Kept() const {
        std::error_code ignored;
        std::size_t n = 0;
        for (auto it = std::filesystem::directory_iterator(KeptDir(), ignored);
             it != std::filesystem::directory_iterator(); ++it)
            ++n;
        return n;
    }
    int Count(const std::string& method, const std::string& path, int status = 0) const {
        int n = 0;
        for (const auto& r : nginx_.Requests())
            n += r.method == method && r.path == path && (status == 0 || r.status == status);
        return n;
    }

  private:
    CliFixture scales_;
    NginxServer nginx_;
    QString credentials_ = scales_.Path("hub-credentials");
    QStringList ports_;
    int puts_ = 0;
};

QString DataFile(const char* name) {
    return QString::fromLocal8Bit(qgetenv("QVSCALE_TEST_DATA")) + '/' + name;
}

std::string Sha256(const std::string& bytes) {
    return QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

TEST(CliSync, FirstTheWholeListThenOnlyTheChangesThenOneConditionalGetAndNothingSent) {
    Store store;
    const std::string monday = CliFixture::PluListBytes(5);
    store.PutList("all.plu", monday);
    const CliRun first = store.Sync();
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(CliFixture::StoredPlus(store.Scales().Scale()), (std::vector<int>{1, 2, 3, 4, 5}));
    QJsonObject receipt = store.Receipt("COM2");
    EXPECT_EQ(receipt["outcome"], "done");
    EXPECT_EQ(receipt["holds_list"], true);
    EXPECT_EQ(receipt["rows_sent"], 5);
    EXPECT_EQ(receipt["rows_skipped"], 0);
    EXPECT_EQ(receipt["store"], "s1");
    EXPECT_EQ(receipt["kind"], "plu");
    EXPECT_EQ(receipt["list"].toObject()["path"], "lists/s1/all.plu");
    EXPECT_EQ(receipt["list"].toObject()["sha256"].toString().toStdString(), Sha256(monday));
    EXPECT_FALSE(receipt["list"].toObject()["etag"].toString().isEmpty());
    const QJsonObject status = store.Served("status/s1.json");
    EXPECT_EQ(status["store"], "s1");
    ASSERT_EQ(status["ports"].toArray().size(), 1);
    EXPECT_EQ(status["ports"][0].toObject()["port"], "COM2");
    EXPECT_EQ(status["ports"][0].toObject()["opened"], true);
    EXPECT_EQ(status["ports"][0].toObject()["outcome"], "done");
    EXPECT_TRUE(Has(store.Scales().Log(), "COM2")) << store.Scales().Log();

    // The next day's list: only the changed price goes, after the check of five records.
    const std::string tuesday = Replaced(monday, "\r\n300\r\n", "\r\n333\r\n");
    store.PutList("all.plu", tuesday);
    store.Scales().Scale().ClearReceived();
    const CliRun next = store.Sync();
    ASSERT_EQ(next.exitCode, 0) << next.err;
    EXPECT_EQ(Downloaded(store.Scales().Scale()), std::vector<int>{3});
    EXPECT_EQ(store.Scales().Scale().FindPlu(3)->price, 333);
    receipt = store.Receipt("COM2");
    EXPECT_EQ(receipt["rows_sent"], 1);
    EXPECT_EQ(receipt["rows_skipped"], 4);
    EXPECT_EQ(receipt["list"].toObject()["sha256"].toString().toStdString(), Sha256(tuesday));

    // Unchanged: one conditional GET of the list, no byte on the line, no receipt again.
    store.Scales().Scale().ClearReceived();
    store.Hub().ClearRequests();
    const CliRun same = store.Sync();
    ASSERT_EQ(same.exitCode, 0) << same.err;
    EXPECT_TRUE(store.Scales().Scale().Received().empty());
    EXPECT_EQ(store.Count("GET", "/lists/s1/all.plu"), 1);
    EXPECT_EQ(store.Count("GET", "/lists/s1/all.plu", 304), 1);
    for (const auto& r : store.Hub().Requests()) {
        EXPECT_NE(r.status, 200) << r.method << " " << r.path;
        EXPECT_NE(r.path, "/receipts/s1/COM2.plu.json");
    }
    EXPECT_EQ(store.Count("PUT", "/status/s1.json"), 1);
}

TEST(CliSync, ABadListSendsNothingAndItsReceiptNamesItsProblemsOnce) {
    Store store;
    const std::string bad = Replaced(CliFixture::PluListBytes(4), "\r\n200\r\n", "\r\n2x0\r\n");
    store.PutList("all.plu", bad);
    const CliRun run = store.Sync();
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_TRUE(store.Scales().Scale().Received().empty());
    const QJsonObject receipt = store.Receipt("COM2");
    EXPECT_EQ(receipt["outcome"], "bad_list");
    EXPECT_EQ(receipt["holds_list"], false);
    EXPECT_EQ(receipt["rows_sent"], 0);
    const QJsonArray problems = receipt["problems"].toArray();
    ASSERT_EQ(problems.size(), 1) << run.err;
    EXPECT_TRUE(Has(problems[0].toString().toStdString(), "Строка 2")) << run.err;
    EXPECT_TRUE(Has(problems[0].toString().toStdString(), "2x0"));

    // The same list is not read or reported again; a mended one goes.
    store.Hub().ClearRequests();
    EXPECT_EQ(store.Sync().exitCode, 0);
    EXPECT_EQ(store.Count("PUT", "/receipts/s1/COM2.plu.json"), 0);
    EXPECT_TRUE(store.Scales().Scale().Received().empty());
    store.PutList("all.plu", CliFixture::PluListBytes(4));
    EXPECT_EQ(store.Sync().exitCode, 0);
    EXPECT_EQ(store.Receipt("COM2")["outcome"], "done");
    EXPECT_EQ(CliFixture::StoredPlus(store.Scales().Scale()), (std::vector<int>{1, 2, 3, 4}));
}

// The receipt names how the load ended and the row it ended on, as the run's own report says.
TEST(CliSync, AReceiptSaysHowTheLoadEndedAndOnWhichRow) {
    struct Case {
        const char* name;
        sim::Fault fault;
        int exitCode;
        const char* outcome;
        int failureRow;  // 0: no failure
        int rowsSent;
    };
    const Case cases[] = {
        {"a refused record",
         FaultAt(sim::Kind::PluDownload, 3, sim::Step::NumberCheck, sim::Action::Refuse), 6,
         "refused", 3, 2},
        {"a stall in a record",
         FaultAt(sim::Kind::PluDownload, 2, sim::Step::Record, sim::Action::Stall), 5, "no_answer",
         2, 1},
        {"a refused command",
         FaultAt(sim::Kind::PluDownload, 1, sim::Step::Accept, sim::Action::Byte), 6, "refused", 1,
         0},
    };
    for (const Case& c : cases) {
        Store store;
        store.PutList("all.plu", CliFixture::PluListBytes(4));
        store.Scales().Scale().Inject(c.fault);
        const CliRun run = store.Sync({"--byte-timeout-ms", "200"});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << run.err;
        const QJsonObject receipt = store.Receipt("COM2");
        EXPECT_EQ(receipt["outcome"], c.outcome) << c.name;
        EXPECT_EQ(receipt["holds_list"], false) << c.name;
        EXPECT_EQ(receipt["rows_sent"], c.rowsSent) << c.name;
        EXPECT_EQ(receipt["failure"].toObject()["row"], c.failureRow) << c.name;
        EXPECT_FALSE(receipt["failure"].toObject()["reason"].toString().isEmpty()) << c.name;
    }
}

TEST(CliSync, ASilentScaleGetsAReceiptAndIsTriedAgainUntilItsReceiptSaysDone) {
    Store store;
    store.PutList("all.plu", CliFixture::PluListBytes(3));
    sim::VirtualScale& scale = store.Scales().Scale();
    scale.Inject(FaultAt(sim::Kind::Any, 0, sim::Step::Ready, sim::Action::Silence, true));
    const CliRun silent = store.Sync();
    EXPECT_EQ(silent.exitCode, 5) << silent.err;
    QJsonObject receipt = store.Receipt("COM2");
    EXPECT_EQ(receipt["outcome"], "no_answer");
    EXPECT_EQ(receipt["holds_list"], false);
    EXPECT_FALSE(receipt["failure"].toObject()["reason"].toString().isEmpty());
    EXPECT_EQ(store.Served("status/s1.json")["ports"][0].toObject()["outcome"], "no_answer");

    // Without --every, the next run tries again.
    scale.ClearFaults();
    const CliRun again = store.Sync();
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(store.Receipt("COM2")["outcome"], "done");
    EXPECT_EQ(CliFixture::StoredPlus(scale), (std::vector<int>{1, 2, 3}));

    // With --every, a later pass tries again after the retry's wait, and the process goes on
    // until a signal.
    store.PutList("all.plu", CliFixture::PluListBytes(4));
    scale.Inject(FaultAt(sim::Kind::Any, 1, sim::Step::Ready, sim::Action::Silence));
    CliProcess every(store.Args({"--every", "0.2", "--retry-ms", "300", "--json"}));
    const auto saw = [&](const char* outcome) {
        return Has(every.Out(), std::string("\"outcome\":\"") + outcome + "\"");
    };
    EXPECT_TRUE(every.WaitUntil([&] { return saw("done"); }, 20000)) << every.Out() << every.Err();
    EXPECT_TRUE(saw("no_answer")) << every.Out();
    EXPECT_EQ(store.Receipt("COM2")["outcome"], "done");
    EXPECT_EQ(CliFixture::StoredPlus(scale), (std::vector<int>{1, 2, 3, 4}));
    every.Signal(SIGTERM);
    ASSERT_TRUE(every.Finish());
    EXPECT_EQ(every.ExitCode(), 130);
}

TEST(CliSync, AHubThatFailsGetsNothingSentAndTheReceiptItMissedGoesOnceItIsBack) {
    struct Case {
        const char* name;
        std::function<void(NginxServer&)> fail;
        std::function<void(NginxServer&)> mend;
        const char* says;
    };
    const Case cases[] = {
        {"down", [](NginxServer& n) { n.Stop(); }, [](NginxServer& n) { ASSERT_TRUE(n.Start()); },
         "Хаб недоступен"},
        {"answering 500",
         [](NginxServer& n) {
             n.SetFailing(true);
             ASSERT_TRUE(n.Restart());
         },
         [](NginxServer& n) {
             n.SetFailing(false);
             ASSERT_TRUE(n.Restart());
         },
         "(HTTP 500)"},
    };
    for (const Case& c : cases) {
        Store store;
        store.PutList("all.plu", CliFixture::PluListBytes(3));
        // The receipt's place is taken by a folder, so the hub refuses the receipt.
        const std::string blocked = store.Hub().Root() + "/receipts/s1/COM2.plu.json";
        std::filesystem::create_directories(blocked);
        const CliRun loaded = store.Sync();
        EXPECT_EQ(loaded.exitCode, 7) << c.name << loaded.err;
        EXPECT_EQ(CliFixture::StoredPlus(store.Scales().Scale()), (std::vector<int>{1, 2, 3}));
        EXPECT_EQ(store.Kept(), 1u) << c.name << loaded.err;
        EXPECT_TRUE(Has(loaded.err, "сохранена и уйдёт при следующем обмене")) << loaded.err;
        std::filesystem::remove(blocked);

        // A new list while the hub fails: nothing goes to the scale.
        store.PutList("all.plu", CliFixture::PluListBytes(4));
        c.fail(store.Hub());
        store.Scales().Scale().ClearReceived();
        const CliRun failed = store.Sync();
        EXPECT_EQ(failed.exitCode, 7) << c.name << failed.err;
        EXPECT_TRUE(Has(failed.err, c.says)) << c.name << failed.err;
        EXPECT_TRUE(Has(failed.err, "В весы ничего не передано")) << c.name << failed.err;
        EXPECT_TRUE(store.Scales().Scale().Received().empty()) << c.name;
        EXPECT_EQ(store.Kept(), 1u) << c.name;

        c.mend(store.Hub());
        store.Hub().ClearRequests();
        const CliRun back = store.Sync();
        EXPECT_EQ(back.exitCode, 0) << c.name << back.err;
        EXPECT_EQ(store.Kept(), 0u) << c.name;
        // The kept receipt first, then the new list's.
        EXPECT_EQ(store.Count("PUT", "/receipts/s1/COM2.plu.json", 201) +
                      store.Count("PUT", "/receipts/s1/COM2.plu.json", 204),
                  2)
            << c.name;
        // PLU 1..3 are known to be there: only PLU 4 goes.
        EXPECT_EQ(store.Receipt("COM2")["rows_sent"], 1) << c.name;
        EXPECT_EQ(store.Receipt("COM2")["rows_skipped"], 3) << c.name;
        EXPECT_EQ(CliFixture::StoredPlus(store.Scales().Scale()), (std::vector<int>{1, 2, 3, 4}));
    }
}

TEST(CliSync, CredentialsOthersCanReadAreRefusedAndAWrongPasswordIsSaidAsSuch) {
    struct Case {
        const char* name;
        std::string text;
        mode_t mode;
        int exitCode;
        const char* says;
    };
    const Case cases[] = {
        {"readable by all", "s1:store-pw", 0644, 2, "могут читать другие пользователи"},
        {"readable by the group", "s1:store-pw", 0640, 2, "(права 0640)"},
        {"wrong password", "s1:not-the-pw", 0600, 7, "Хаб не принял учётные данные (HTTP 401)"},
        {"another store's user", "s2:other-pw", 0600, 7, "HTTP 401"},
        {"right", "s1:store-pw", 0600, 0, "COM2: готово"},
    };
    for (const Case& c : cases) {
        Store store;
        store.PutList("all.plu", CliFixture::PluListBytes(2));
        store.Credentials(c.text, c.mode);
        store.Hub().ClearRequests();
        const CliRun run = store.Sync();
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << run.err;
        EXPECT_TRUE(Has(run.out + run.err, c.says)) << c.name << run.out << run.err;
        const std::string password = c.text.substr(c.text.find(':') + 1);
        EXPECT_FALSE(Has(run.out + run.err + store.Scales().Log(), password)) << c.name;
        if (c.exitCode == 0) continue;
        EXPECT_TRUE(store.Scales().Scale().Received().empty()) << c.name;
        if (c.exitCode == 2) {
            EXPECT_TRUE(store.Hub().Requests().empty()) << c.name;
        }
    }
}

TEST(CliSync, EachScaleGetsItsOwnListOrElseTheStoresListForAll) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> lists;
        std::vector<int> com2;  // PLUs each scale holds after
        std::vector<int> com3;
        const char* com3List;
    };
    const std::string three = CliFixture::PluListBytes(3);
    const std::string two = CliFixture::PluListBytes(2);
    const Case cases[] = {
        {"all.plu for both", {{"all.plu", three}}, {1, 2, 3}, {1, 2, 3}, "lists/s1/all.plu"},
        {"COM3 has its own",
         {{"all.plu", three}, {"COM3.plu", two}},
         {1, 2, 3},
         {1, 2},
         "lists/s1/COM3.plu"},
        {"COM3's own CSV",
         {{"all.plu", three}, {"COM3.csv", ""}},
         {1, 2, 3},
         {1, 2, 3, 4},
         "lists/s1/COM3.csv"},
    };
    for (const Case& c : cases) {
        Store store({2, 3});
        for (const auto& [name, bytes] : c.lists)
            store.PutList(
                name, bytes.empty() ? CliFixture::ReadFile(DataFile("goods_cp1251.csv")) : bytes);
        const CliRun run = store.Sync();
        EXPECT_EQ(run.exitCode, 0) << c.name << run.err;
        EXPECT_EQ(CliFixture::StoredPlus(store.Scales().Scale(0)), c.com2) << c.name;
        EXPECT_EQ(CliFixture::StoredPlus(store.Scales().Scale(1)), c.com3) << c.name;
        EXPECT_EQ(store.Receipt("COM2")["list"].toObject()["path"], "lists/s1/all.plu") << c.name;
        EXPECT_EQ(store.Receipt("COM3")["list"].toObject()["path"], c.com3List) << c.name;
        EXPECT_EQ(store.Receipt("COM3")["outcome"], "done") << c.name;
        EXPECT_EQ(store.Served("status/s1.json")["ports"].toArray().size(), 2) << c.name;
    }
}

TEST(CliSync, TheCommandLineIsCheckedBeforeAnyRequest) {
    Store store;
    const QString url = QString::fromStdString(store.Hub().Url());
    const QStringList cases[] = {
        {"sync", "--store", "s1", "--port", "COM2"},
        {"sync", "--hub", url, "--port", "COM2"},
        {"sync", "--hub", url, "--store", "../s1", "--port", "COM2"},
        {"sync", "--hub", url, "--store", "s1", "--port", "/dev/ttyUSB0"},
        {"sync", "--hub", url, "--store", "s1"},
        {"sync", "--hub", "http://192.0.2.7/", "--store", "s1", "--port", "COM2"},
        {"sync", "--hub", url, "--store", "s1", "--port", "COM2", "--every", "0"},
        {"sync", "--hub", url, "--store", "s1", "--port", "COM2", "--password", "x"},
        {"sync", "--hub", url, "--store", "s1", "--port", "COM2", "extra"},
    };
    for (const QStringList& args : cases) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString() << run.err;
    }
    EXPECT_TRUE(store.Hub().Requests().empty());
}

}  // namespace

namespace {

TEST(CliSync, APortThatDoesNotOpenGetsAReceiptAndTheStatusSaysWhy) {
    Store store;
    store.PutList("all.plu", CliFixture::PluListBytes(2));
    const CliRun run = store.Sync({"--port", "COM5", "--json"});
    EXPECT_EQ(run.exitCode, 4) << run.err;
    EXPECT_EQ(store.Receipt("COM2")["outcome"], "done");
    const QJsonObject receipt = store.Receipt("COM5");
    EXPECT_EQ(receipt["outcome"], "port_problem");
    EXPECT_EQ(receipt["holds_list"], false);
    EXPECT_FALSE(receipt["failure"].toObject()["reason"].toString().isEmpty());
    const QJsonArray ports = store.Served("status/s1.json")["ports"].toArray();
    ASSERT_EQ(ports.size(), 2);
    EXPECT_EQ(ports[1].toObject()["port"], "COM5");
    EXPECT_EQ(ports[1].toObject()["opened"], false);
    EXPECT_EQ(ports[1].toObject()["reason"], receipt["failure"].toObject()["reason"]);
    EXPECT_EQ(ports[1].toObject()["outcome"], "port_problem");
    EXPECT_TRUE(Has(run.out, "\"event\":\"receipt\"")) << run.out;
    EXPECT_TRUE(Has(run.out, "\"outcome\":\"port_problem\"")) << run.out;
}

}  // namespace
