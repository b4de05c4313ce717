// Any file up to the 64 MiB limit opens through the window's Open, or is refused with a box,
// within 2 s and 500 MB peak. Each file is opened in a process of its own, so each peak is
// that file's alone. Prints one line per file; exits 1 when one misses a target.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "Com.h"
#include "GridView.h"
#include "PathDialogs.h"
#include "TableFile.h"

namespace {

constexpr double kSecondsTarget = 2.0;
constexpr double kMegabytesTarget = 500.0;
constexpr std::size_t kLimit = static_cast<std::size_t>(tables::kMaxTableFileBytes);

struct FileCase {
    const char* name;
    std::function<std::string()> bytes;
};

std::string Repeated(const std::string& piece, std::size_t total) {
    std::string bytes;
    bytes.reserve(total);
    while (bytes.size() + piece.size() <= total) bytes += piece;
    return bytes;
}

// 65,535 records whose cells together fill the limit.
std::string FullListOfLongCells() {
    const std::size_t perCell = kLimit / tables::kMaxTableRecords / tables::kColumns - 2;
    const std::string cell(perCell, 'x');
    std::string record;
    for (int c = 0; c < tables::kColumns; ++c) record += cell + "\r\n";
    return Repeated(record, record.size() * tables::kMaxTableRecords) + "***\r\n";
}

const FileCase kCases[] = {
    {"bare LF line ends", [] { return std::string(kLimit, '\n'); }},
    {"bare CR LF line ends", [] { return Repeated("\r\n", kLimit); }},
    {"one line", [] { return std::string(kLimit, 'x'); }},
    {"nine long cells", [] { return Repeated(std::string(kLimit / 9 - 2, 'x') + "\r\n", kLimit); }},
    {"65,535 records of long cells", FullListOfLongCells},
};

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Opens the file as the operator does, with the window shown, until the grid has painted.
int OpenInChild(int argc, char** argv, const FileCase& c, const QString& path) {
    QApplication app(argc, argv);
    auto* dialogs = new PathDialogs(path);
    TForm1 form{std::unique_ptr<Dialogs>(dialogs)};
    form.show();
    form.Button18Click();
    auto* grid = form.findChild<GridView*>(QStringLiteral("StringGrid1"));
    // The cell editor stays on the first cell, so it opens on the file's first line.
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QCoreApplication::processEvents();
    const auto start = std::chrono::steady_clock::now();
    form.Button20Click();
    // The operator's editor on the first cell: the worst a long first line can do.
    grid->edit(grid->currentIndex());
    QCoreApplication::processEvents();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double peak = PeakMegabytes();
    const bool met = seconds < kSecondsTarget && peak < kMegabytesTarget;
    std::printf("%-30s %7.3f s %7.1f MB  %-8s %s\n", c.name, seconds, peak,
                dialogs->failure.isEmpty() ? "opened" : "refused", met ? "" : "OVER TARGET");
    std::fflush(stdout);
    return met ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::printf("%-30s %9s %10s\n", "file of 64 MiB", "open", "peak");
    std::fflush(stdout);
    const QTemporaryDir dir;
    const QString path = dir.filePath("list.plu");
    int worst = 0;
    for (const FileCase& c : kCases) {
        // Written here, so the child's peak is the program's alone.
        std::ofstream(path.toStdString(), std::ios::binary | std::ios::trunc) << c.bytes();
        const pid_t child = fork();
        if (child == 0) _exit(OpenInChild(argc, argv, c, path));
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) worst = 1;
    }
    return worst;
}
