#include "TransferBench.h"

#include <time.h>

#include <QComboBox>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "GridModel.h"
#include "GridView.h"

namespace {

double Seconds(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

std::set<std::string> Threads() {
    std::set<std::string> tids;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
        tids.insert(entry.path().filename().string());
    return tids;
}

// CPU time a thread of this process has run, in seconds (its schedstat's first field).
double ThreadCpu(const std::string& tid) {
    std::ifstream in("/proc/self/task/" + tid + "/schedstat");
    double ns = 0;
    in >> ns;
    return ns / 1e9;
}

}  // namespace

TransferBench::TransferBench(int baud) {
    const auto before = Threads();
    sim::Options options;
    options.link = "COM2";
    options.baud = baud;
    scale_ = std::make_unique<sim::VirtualScale>(options);
    for (const auto& tid : Threads())
        if (!before.count(tid)) scaleThreads_.insert(tid);
    auto dialogs = std::make_unique<SilentDialogs>();
    dialogs_ = dialogs.get();
    form_ = std::make_unique<TForm1>(std::move(dialogs));
    form_->findChild<QComboBox*>(QStringLiteral("CBPort"))->setCurrentIndex(1);
    form_->OpretClick();
}

double TransferBench::ProgramCpu() const {
    double scaleCpu = 0;
    for (const auto& tid : scaleThreads_) scaleCpu += ThreadCpu(tid);
    return Seconds(CLOCK_PROCESS_CPUTIME_ID) - scaleCpu;
}

void TransferBench::Start() {
    wall0_ = Seconds(CLOCK_MONOTONIC);
    cpu0_ = ProgramCpu();
}

void TransferBench::Stop() {
    wall = Seconds(CLOCK_MONOTONIC) - wall0_;
    programCpu = ProgramCpu() - cpu0_;
}

void PrepareBenchEnvironment() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static std::string dir =
        (std::filesystem::temp_directory_path() / "qvscale-bench-XXXXXX").string();
    if (!mkdtemp(dir.data())) std::abort();
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    // Runs write the transfer log and the scale's known contents: none of it in the user's own.
    setenv("XDG_STATE_HOME", dir.c_str(), 1);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    });
}

void FillPluList(TForm1& form, int rows) {
    form.Button18Click();
    auto* model = qobject_cast<GridModel*>(form.findChild<GridView*>("StringGrid1")->model());
    model->Replace([rows](tables::Table& t) {
        t.SetRowCount(rows + 2);
        for (int r = 1; r <= rows; ++r)
            t.SetRow(r, {std::to_string(r), "\xD1\xFB\xF0", "name " + std::to_string(r), "12345",
                         "5", "0", std::to_string(1000 + r), "1", "0"});
        tables::WriteEndMarker(t, rows + 1);
    });
}
