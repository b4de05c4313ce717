// A chain's hub under its stores: 50 stores, each a `qvscale-cli sync --every 5` with a virtual
// scale of its own, against one nginx. Measures the time from head office's putting a list for
// every store until all 50 receipts say "done", nginx's CPU meanwhile and while the stores only
// poll, and from the polling what 1,000 stores calling each minute cost the hub.

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "CliRun.h"
#include "NginxServer.h"
#include "VirtualScale.h"

namespace {

constexpr int kStores = 50;
constexpr int kRows = 50;
constexpr double kEvery = 5;
constexpr double kPollWindow = 20;  // seconds of polling only, measured
constexpr double kDeadline = 60;    // for all receipts

std::string Store(int i) {
    return "s" + std::to_string(i + 1);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// One store's process, with its own configuration and state folder.
pid_t StartStore(const std::string& folder, const std::string& url, int i) {
    std::vector<std::string> args = {QVSCALE_CLI, "sync",   "--hub",         url,
                                     "--store",   Store(i), "--port",        "COM2",
                                     "--every",   "5",      "--credentials", folder + "/cred"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
        setenv("XDG_STATE_HOME", folder.c_str(), 1);
        if (!std::freopen((folder + "/out.txt").c_str(), "w", stdout) ||
            !std::freopen((folder + "/err.txt").c_str(), "w", stderr))
            _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return child;
}

// Head office's list for every store, each moved into place whole.
std::string PutLists(const NginxServer& nginx) {
    std::vector<ListRow> rows;
    for (int n = 1; n <= kRows; ++n) rows.push_back(CheeseRow(n, 100 * n, ""));
    const std::string staged = nginx.Root() + "/staged.plu";
    WriteList(staged, rows);
    const std::string bytes = ReadAll(staged);
    for (int i = 0; i < kStores; ++i) {
        const std::string dir = nginx.Root() + "/lists/" + Store(i);
        std::filesystem::create_directories(dir);
        std::filesystem::copy_file(staged, dir + "/all.tmp",
                                   std::filesystem::copy_options::overwrite_existing);
        std::filesystem::rename(dir + "/all.tmp", dir + "/all.plu");
    }
    return QCryptographicHash::hash(QByteArray::fromStdString(bytes), QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

int Done(const NginxServer& nginx, const std::string& sha) {
    int done = 0;
    for (int i = 0; i < kStores; ++i) {
        const QJsonObject r =
            QJsonDocument::fromJson(QByteArray::fromStdString(ReadAll(nginx.Root() + "/receipts/" +
                                                                      Store(i) + "/COM2.plu.json")))
                .object();
        done += r["outcome"] == QStringLiteral("done") &&
                r["list"].toObject()["sha256"].toString().toStdString() == sha;
    }
    return done;
}

}  // namespace

int main() {
    const std::string dir = BenchFolder();
    if (dir.empty()) return 2;
    NginxServer nginx;
    for (int i = 0; i < kStores; ++i) {
        const std::string s = Store(i);
        nginx.AddUser(s, "pw-" + s);
        nginx.Grant("/lists/" + s + "/", {s}, {});
        nginx.Grant("/receipts/" + s + "/", {}, {s});
        nginx.Grant("/status/" + s + ".json", {}, {s});
    }
    if (!nginx.Start()) {
        std::fprintf(stderr, "nginx did not start: %s\n", nginx.LastError().c_str());
        return 2;
    }
    std::vector<std::unique_ptr<sim::VirtualScale>> scales;
    std::vector<pid_t> stores;
    for (int i = 0; i < kStores; ++i) {
        const std::string folder = dir + "/" + Store(i);
        std::filesystem::create_directories(folder);
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
        sim::Options options;
        options.link = "COM2";
        scales.push_back(std::make_unique<sim::VirtualScale>(options));
        std::ofstream(folder + "/cred") << Store(i) << ":pw-" << Store(i) << "\n";
        ::chmod((folder + "/cred").c_str(), 0600);
        stores.push_back(StartStore(folder, nginx.Url(), i));
    }
    // Every store has called at least once, with no list yet.
    std::this_thread::sleep_for(std::chrono::duration<double>(kEvery * 1.2));

    const double cpuBefore = nginx.CpuSeconds();
    const double put = Now();
    const std::string sha = PutLists(nginx);
    int done = 0;
    while ((done = Done(nginx, sha)) < kStores && Now() - put < kDeadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const double allDone = Now() - put;
    const double cpuLoad = nginx.CpuSeconds() - cpuBefore;

    // Polling only: every list unchanged.
    std::this_thread::sleep_for(std::chrono::duration<double>(kEvery * 1.2));
    nginx.ClearRequests();
    const double pollCpuBefore = nginx.CpuSeconds();
    const double pollStart = Now();
    std::this_thread::sleep_for(std::chrono::duration<double>(kPollWindow));
    const double window = Now() - pollStart;
    const double pollCpu = nginx.CpuSeconds() - pollCpuBefore;
    long long requests = 0, passes = 0, bytes = 0, changedBodies = 0;
    for (const NginxServer::Request& r : nginx.Requests()) {
        ++requests;
        bytes += r.bytesSent + r.bytesReceived;
        passes += r.method == "PUT" && r.path.rfind("/status/", 0) == 0;
        changedBodies += r.method == "GET" && r.status == 200;
    }

    for (const pid_t pid : stores) ::kill(pid, SIGTERM);
    int clean = 0;
    for (const pid_t pid : stores) {
        int status = 0;
        waitpid(pid, &status, 0);
        clean += WIFEXITED(status) && WEXITSTATUS(status) == 130;
    }
    scales.clear();
    nginx.Stop();
    std::filesystem::remove_all(dir);

    const double perPass = passes ? static_cast<double>(requests) / passes : 0;
    const double bytesPerPass = passes ? static_cast<double>(bytes) / passes : 0;
    const double chainRate = 1000.0 * perPass / 60.0;
    const double chainBytesDay = 1000.0 * 1440.0 * bytesPerPass;
    const double cpuPerRequest = requests ? pollCpu / requests : 0;
    std::printf("%d stores, sync --every %.0f, one scale each, %d PLU rows, one nginx\n", kStores,
                kEvery, kRows);
    std::printf(
        "list put for every store -> %d of %d receipts \"done\" in %.2f s; nginx CPU %.3f s\n",
        done, kStores, allDone, cpuLoad);
    std::printf(
        "polling, lists unchanged: %lld requests in %.1f s (%.1f a second), %lld passes, %.1f "
        "requests and %.0f bytes a pass, %lld list bodies sent; nginx CPU %.3f s (%.2f%% of a "
        "core, %.0f us a request)\n",
        requests, window, requests / window, passes, perPass, bytesPerPass, changedBodies, pollCpu,
        100.0 * pollCpu / window, 1e6 * cpuPerRequest);
    std::printf(
        "1,000 stores calling each minute: %.0f requests a second, %.0f MB a day, about %.2f%% of "
        "one core of nginx\n",
        chainRate, chainBytesDay / 1e6, 100.0 * chainRate * cpuPerRequest);
    std::printf("stores that ended with 130 on SIGTERM: %d of %d\n", clean, kStores);
    return done == kStores && clean == kStores ? 0 : 1;
}
