// The PLU download through the window against the virtual scale.
// Targets: paced at 9600 baud, at most 1.03 times the line time of the row bytes (81 bytes a
// row, 10 bits a byte) and under 5% of one core for the program (the process's CPU less the
// scale's own thread); unpaced, at least 2,000 rows a second.

#include <dirent.h>
#include <stdlib.h>
#include <time.h>

#include <QApplication>
#include <QComboBox>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "Com.h"
#include "GridModel.h"
#include "VirtualScale.h"

namespace {

class SilentDialogs : public Dialogs {
  public:
    void ErrorBox(const QString& text) override { shown += text + '\n'; }
    void PlainBox(const QString& text) override { shown += text + '\n'; }
    Answer SavePrompt(const QString&) override { return Answer::No; }
    std::optional<QString> OpenFile(const FileDialogRequest&) override { return {}; }
    std::optional<QString> SaveFile(const FileDialogRequest&) override { return {}; }
    QString shown;
};

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

double ThreadsCpu(const std::set<std::string>& tids) {
    double total = 0;
    for (const auto& tid : tids) total += ThreadCpu(tid);
    return total;
}

void FillPluList(TForm1& form, int rows) {
    form.Model()->Replace([rows](tables::Table& t) {
        tables::MakeNewList(t, tables::ListKind::Plu);
        t.SetRowCount(rows + 2);
        for (int r = 1; r <= rows; ++r)
            t.SetRow(r, {std::to_string(r), "\xD1\xFB\xF0", "name " + std::to_string(r), "12345",
                         "5", "0", std::to_string(1000 + r), "1", "0"});
        tables::WriteEndMarker(t, rows + 1);
    });
    form.TableExists = true;
    form.TableIsPlu = true;
}

struct Figures {
    double wall = 0;
    double programCpu = 0;
    bool allStored = false;
};

Figures Download(int rows, int baud) {
    const auto before = Threads();
    sim::Options options;
    options.link = "COM2";
    options.baud = baud;
    sim::VirtualScale scale(options);
    std::set<std::string> scaleThreads;
    for (const auto& tid : Threads())
        if (!before.count(tid)) scaleThreads.insert(tid);

    auto dialogs = std::make_unique<SilentDialogs>();
    SilentDialogs* shown = dialogs.get();
    TForm1 form(std::move(dialogs));
    form.CBPort->setCurrentIndex(1);
    form.OpretClick();
    FillPluList(form, rows);

    const double wall0 = Seconds(CLOCK_MONOTONIC);
    const double cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID) - ThreadsCpu(scaleThreads);
    form.Button21Click();
    Figures f;
    f.wall = Seconds(CLOCK_MONOTONIC) - wall0;
    f.programCpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - ThreadsCpu(scaleThreads) - cpu0;
    f.allStored = static_cast<int>(scale.Plus().size()) == rows &&
                  shown->shown == QStringLiteral("Данные переданы\n");
    return f;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string dir = (std::filesystem::temp_directory_path() / "qvscale-bench-XXXXXX").string();
    if (!mkdtemp(dir.data())) return 2;
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    QApplication app(argc, argv);

    constexpr int kPacedRows = 200;
    constexpr int kBaud = 9600;
    const double lineTime = kPacedRows * 81.0 * 10.0 / kBaud;
    const Figures paced = Download(kPacedRows, kBaud);
    const double ratio = paced.wall / lineTime;
    const double share = 100.0 * paced.programCpu / paced.wall;
    std::printf(
        "paced download, %d PLU rows at %d baud: %.2f s for %.2f s of line time "
        "(%.3f times, target at most 1.03); program CPU %.3f s, %.2f%% of one core "
        "(target under 5%%)\n",
        kPacedRows, kBaud, paced.wall, lineTime, ratio, paced.programCpu, share);

    constexpr int kFastRows = 4000;
    const Figures fast = Download(kFastRows, 0);
    const double rate = kFastRows / fast.wall;
    std::printf(
        "unpaced download, %d PLU rows: %.2f s, %.0f rows a second (target at least "
        "2000); program CPU %.2f s\n",
        kFastRows, fast.wall, rate, fast.programCpu);

    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    if (!paced.allStored || !fast.allStored) {
        std::fprintf(stderr, "the scale did not get every row\n");
        return 2;
    }
    return ratio <= 1.03 && share < 5.0 && rate >= 2000 ? 0 : 1;
}
