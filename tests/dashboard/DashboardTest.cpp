// The dashboard page in a real headless browser against nginx, with the hub's files as stores
// leave them: one row per store and scale, its state, and the filter.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "NginxServer.h"

namespace {

namespace fs = std::filesystem;

const char* const kHostile = "<img src=x onerror=document.body.setAttribute('data-pwned',1)>";

// What one store left on the hub.
enum class Store {
    Loaded,             // the scale holds the store's list, the store called just now
    NoAnswer,           // the last load failed: the scale did not answer
    Silent,             // loaded, but the store last called ten minutes ago
    CalledFiveMinAgo,   // loaded, the store last called five minutes ago
    ListChanged,        // head office PUT a new list after the receipt
    FailedThenNewList,  // the load failed, then head office PUT a new list
    OwnListAppeared,    // loaded from all.plu; now the scale has a list of its own
    FirstListWaiting,   // a list for the scale, no receipt yet
    NeverCalled,        // no status file at all
    BrokenStatus,       // a status file that is not JSON
    BrokenReceipt,      // a receipt that is not JSON
    HostileDevice,      // loaded, its device named in markup that runs a script if parsed
};

struct Row {
    std::string store;
    std::string port;  // "" for a row about the whole store
    std::string state;
    bool hidden = false;
};

struct Case {
    const char* name;
    std::vector<std::pair<std::string, Store>> stores;
    std::string query;
    std::vector<Row> rows;
    // Written as stores.json instead of the stores' names, when given.
    std::string storesFile = "";
    // The browser's virtual time on the page, and the refreshes the page makes in it.
    int virtualSeconds = 10;
    int refreshes = 1;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

// ISO 8601 with a zone other than UTC, as a store in Moscow writes it.
std::string TimeAgo(int seconds) {
    return QDateTime::currentDateTimeUtc()
        .addSecs(-seconds)
        .toOffsetFromUtc(3 * 3600)
        .toString(Qt::ISODate)
        .toStdString();
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

class Hub {
  public:
    explicit Hub(NginxServer& server) : server_(server) {}

    void Put(const std::string& path, const std::string& text) {
        fs::path file = fs::path(server_.Root()) / path;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    }

    // The ETag nginx gives the file now, as a client sees it.
    std::string Etag(const std::string& path) {
        QProcess curl;
        curl.start("curl", {"-sS", "--max-time", "5", "--head",
                            QString::fromStdString(server_.Url() + "/" + path)});
        if (!curl.waitForFinished(10000)) return "";
        for (const QString& line : QString::fromUtf8(curl.readAllStandardOutput()).split("\r\n"))
            if (line.startsWith("ETag:", Qt::CaseInsensitive))
                return line.mid(5).trimmed().toStdString();
        return "";
    }

    void Status(const std::string& store, int secondsAgo, const std::string& device,
                const std::string& outcome) {
        Put("status/" + store + ".json",
            "{\"store\":" + Quoted(store) + ",\"time\":\"" + TimeAgo(secondsAgo) +
                "\",\"version\":\"1\",\"ports\":[{\"port\":\"COM2\",\"device\":" + Quoted(device) +
                ",\"opened\":true,\"outcome\":\"" + outcome + "\"}]}");
    }

    void Receipt(const std::string& store, const std::string& list, const std::string& outcome,
                 int secondsAgo) {
        const std::string path = "lists/" + store + "/" + list;
        const bool done = outcome == "done";
        const std::string when = Quoted(TimeAgo(secondsAgo));
        Put("receipts/" + store + "/COM2.plu.json",
            "{\"store\":" + Quoted(store) +
                ",\"port\":\"COM2\",\"kind\":\"plu\",\"list\":{\"path\":" + Quoted(path) +
                ",\"etag\":" + Quoted(Etag(path)) + ",\"sha256\":\"00\"},\"outcome\":\"" + outcome +
                "\",\"holds_list\":" + (done ? "true" : "false") +
                ",\"rows_sent\":3,\"rows_skipped\":0,\"failure\":" +
                (done ? "null" : "{\"row\":1,\"reason\":\"весы не отвечают\"}") +
                ",\"problems\":[],\"started\":" + when + ",\"ended\":" + when +
                ",\"version\":\"1\"}");
    }

    void Leave(const std::string& store, Store what) {
        const std::string lists = "lists/" + store + "/";
        switch (what) {
            case Store::Loaded:
            case Store::Silent:
            case Store::CalledFiveMinAgo:
            case Store::HostileDevice: {
                const int ago = what == Store::Silent             ? 600
                                : what == Store::CalledFiveMinAgo ? 300
                                                                  : 5;
                Put(lists + "COM2.plu", "list of the day\n");
                Receipt(store, "COM2.plu", "done", ago);
                Status(store, ago, what == Store::HostileDevice ? kHostile : "/dev/ttyUSB0",
                       "done");
                return;
            }
            case Store::NoAnswer:
                Put(lists + "COM2.plu", "list of the day\n");
                Receipt(store, "COM2.plu", "no_answer", 5);
                Status(store, 5, "/dev/ttyUSB0", "no_answer");
                return;
            case Store::ListChanged:
            case Store::FailedThenNewList:
                Put(lists + "COM2.plu", "list of the day\n");
                Receipt(store, "COM2.plu", what == Store::ListChanged ? "done" : "bad_list", 5);
                Status(store, 5, "/dev/ttyUSB0", "done");
                Put(lists + "COM2.plu", "list of the next day, longer\n");
                return;
            case Store::OwnListAppeared:
                Put(lists + "all.plu", "list for every scale\n");
                Receipt(store, "all.plu", "done", 5);
                Status(store, 5, "/dev/ttyUSB0", "done");
                Put(lists + "COM2.plu", "list of this scale\n");
                return;
            case Store::FirstListWaiting:
                Put(lists + "all.plu", "list for every scale\n");
                Status(store, 5, "/dev/ttyUSB0", "done");
                return;
            case Store::NeverCalled:
                return;
            case Store::BrokenStatus:
                Put("status/" + store + ".json", "{\"store\":\"" + store + "\",\"time\":");
                return;
            case Store::BrokenReceipt:
                Put(lists + "COM2.plu", "list of the day\n");
                Status(store, 5, "/dev/ttyUSB0", "done");
                Put("receipts/" + store + "/COM2.plu.json", "[1,");
                return;
        }
    }

  private:
    NginxServer& server_;
};

std::string Unescaped(std::string text) {
    const std::pair<const char*, const char*> entities[] = {
        {"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&#39;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, plain] : entities)
        for (auto at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
            text.replace(at, std::string(entity).size(), plain);
    return text;
}

// The value of attribute name in one start tag, or nullptr-like "" with found=false.
bool Attribute(const std::string& tag, const std::string& name, std::string* value) {
    const std::string key = " " + name + "=\"";
    const auto at = tag.find(key);
    if (at == std::string::npos) {
        const auto bare = tag.find(" " + name);
        const auto after = bare == std::string::npos ? bare : bare + name.size() + 1;
        if (after != std::string::npos && after < tag.size() &&
            (tag[after] == ' ' || tag[after] == '>')) {
            value->clear();
            return true;
        }
        return false;
    }
    const auto end = tag.find('"', at + key.size());
    *value = Unescaped(tag.substr(at + key.size(), end - at - key.size()));
    return true;
}

// The table's rows as the browser left them.
std::vector<Row> RowsOf(const std::string& dom) {
    std::vector<Row> rows;
    for (auto at = dom.find("<tr "); at != std::string::npos; at = dom.find("<tr ", at + 1)) {
        const std::string tag = dom.substr(at, dom.find('>', at) - at) + ">";
        Row row;
        std::string ignored;
        if (!Attribute(tag, "data-store", &row.store)) continue;
        Attribute(tag, "data-port", &row.port);
        Attribute(tag, "data-state", &row.state);
        row.hidden = Attribute(tag, "hidden", &ignored);
        rows.push_back(row);
    }
    return rows;
}

std::string Describe(const std::vector<Row>& rows) {
    std::string text;
    for (const auto& r : rows)
        text += "  " + r.store + " " + (r.port.empty() ? "-" : r.port) + " " + r.state +
                (r.hidden ? " hidden" : "") + "\n";
    return text;
}

// The page as chromium shows it once its fetches are done, within a bound of wall time.
std::string DumpDom(const std::string& url, int virtualSeconds, std::string* problem) {
    QTemporaryDir profile;
    QProcess browser;
    browser.start("chromium", {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                               "--user-data-dir=" + profile.path(),
                               "--virtual-time-budget=" + QString::number(virtualSeconds * 1000),
                               "--dump-dom", QString::fromStdString(url)});
    if (!browser.waitForStarted(10000)) {
        *problem = "chromium did not start: " + browser.errorString().toStdString();
        return "";
    }
    if (!browser.waitForFinished(45000)) {
        browser.kill();
        browser.waitForFinished(5000);
        *problem = "chromium did not finish within 45 s";
        return "";
    }
    if (browser.exitCode() != 0)
        *problem = "chromium ended with " + std::to_string(browser.exitCode()) + ": " +
                   browser.readAllStandardError().toStdString();
    return browser.readAllStandardOutput().toStdString();
}

class DashboardTest : public ::testing::TestWithParam<Case> {};

TEST_P(DashboardTest, ShowsEachScaleInTheStateItsFilesSay) {
    const Case& c = GetParam();
    NginxServer server;
    ASSERT_TRUE(server.Start()) << server.LastError();
    Hub hub(server);
    std::ifstream page(QVSCALE_HUB_PAGE, std::ios::binary);
    ASSERT_TRUE(page) << "no page at " << QVSCALE_HUB_PAGE;
    hub.Put("index.html", std::string(std::istreambuf_iterator<char>(page), {}));
    std::string names = "[";
    for (const auto& [store, what] : c.stores) {
        names += (names.size() > 1 ? "," : "") + Quoted(store);
        hub.Leave(store, what);
    }
    hub.Put("stores.json", c.storesFile.empty() ? names + "]" : c.storesFile);

    std::string problem;
    const std::string dom = DumpDom(server.Url() + "/" + c.query, c.virtualSeconds, &problem);
    ASSERT_EQ(problem, "");
    const std::string refreshed = "data-refreshed=\"" + std::to_string(c.refreshes) + "\"";
    ASSERT_NE(dom.find(refreshed), std::string::npos) << "not " << refreshed << ":\n"
                                                      << dom.substr(0, 2000);
    const auto rows = RowsOf(dom);
    ASSERT_EQ(rows.size(), c.rows.size()) << Describe(rows);
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(Describe(rows));
        EXPECT_EQ(rows[i].store, c.rows[i].store);
        EXPECT_EQ(rows[i].port, c.rows[i].port);
        EXPECT_EQ(rows[i].state, c.rows[i].state);
        EXPECT_EQ(rows[i].hidden, c.rows[i].hidden);
    }
    // The page says when it cannot read the list of stores, and only then.
    const bool saysProblem = dom.find("<div id=\"page-problem\">") != std::string::npos;
    EXPECT_EQ(saysProblem, !c.storesFile.empty()) << dom.substr(0, 2000);
    // A name or device from the hub is text: had it become markup, its handler would have run.
    EXPECT_EQ(dom.find("data-pwned=\"1\""), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    OnNginx, DashboardTest,
    ::testing::Values(
        Case{"OneFailedOneStaleOneOk",
             {{"moscow-1", Store::NoAnswer}, {"tver-2", Store::Silent}, {"klin-3", Store::Loaded}},
             "",
             {{"moscow-1", "COM2", "failed"},
              {"tver-2", "COM2", "stale"},
              {"klin-3", "COM2", "ok"}}},
        Case{"FilterHidesOnlyTheOkRow",
             {{"moscow-1", Store::NoAnswer}, {"tver-2", Store::Silent}, {"klin-3", Store::Loaded}},
             "?attention=1",
             {{"moscow-1", "COM2", "failed"},
              {"tver-2", "COM2", "stale"},
              {"klin-3", "COM2", "ok", true}}},
        Case{"NewerListOnTheHubIsPending",
             {{"changed", Store::ListChanged},
              {"own-list", Store::OwnListAppeared},
              {"first", Store::FirstListWaiting},
              {"mended", Store::FailedThenNewList},
              {"same", Store::Loaded}},
             "",
             {{"changed", "COM2", "pending"},
              {"own-list", "COM2", "pending"},
              {"first", "COM2", "pending"},
              {"mended", "COM2", "pending"},
              {"same", "COM2", "ok"}}},
        Case{"BrokenOrMissingFileMarksOnlyItsRow",
             {{"no-status", Store::NeverCalled},
              {"bad-status", Store::BrokenStatus},
              {"bad-receipt", Store::BrokenReceipt},
              {"fine", Store::Loaded}},
             "",
             {{"no-status", "", "stale"},
              {"bad-status", "", "failed"},
              {"bad-receipt", "COM2", "failed"},
              {"fine", "COM2", "ok"}}},
        Case{"FiveMinutesSilentIsStaleAtTheDefaultInterval",
             {{"slow", Store::CalledFiveMinAgo}},
             "",
             {{"slow", "COM2", "stale"}}},
        Case{"FiveMinutesSilentIsFineWhenStoresCallEveryTwoMinutes",
             {{"slow", Store::CalledFiveMinAgo}},
             "?every=120",
             {{"slow", "COM2", "ok"}}},
        Case{"HostileStoreNameStaysText",
             {{kHostile, Store::NeverCalled},
              {"dir/../up", Store::NeverCalled},
              {"marked-up", Store::HostileDevice}},
             "",
             {{kHostile, "", "stale"}, {"dir/../up", "", "failed"}, {"marked-up", "COM2", "ok"}}},
        Case{"RefreshesItselfEveryHalfMinute",
             {{"klin-3", Store::Loaded}},
             "",
             {{"klin-3", "COM2", "ok"}},
             "",
             65,
             3},
        Case{"BrokenStoresListLeavesNoRowsAndSaysSo",
             {{"klin-3", Store::Loaded}},
             "",
             {},
             "[\"klin-3\","}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

}  // namespace
