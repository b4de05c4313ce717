// A full PLU list (65,535 rows, Cyrillic names) opened into the window's grid and saved from it,
// through the Open and Save commands. Targets: each under 0.5 s; the program's peak memory with
// the list loaded under 150 MB (reported as peak_MB).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QTemporaryDir>

#include "CodePage1251.h"
#include "Com.h"
#include "GridView.h"
#include "PathDialogs.h"
#include "TableFile.h"

namespace {

constexpr int kFullList = 65535;

QString ListPath() {
    static QTemporaryDir dir;
    return dir.filePath("full.plu");
}

void WriteFullList() {
    const std::string first = tables::EncodeCp1251(QString::fromUtf8("Хлеб ржаной нарезной №"));
    const std::string second = tables::EncodeCp1251(QString::fromUtf8("Ёмкость 0,5 кг"));
    tables::Table table;
    table.SetRowCount(kFullList + 2);
    for (int r = 1; r <= kFullList; ++r) {
        const std::string n = std::to_string(r);
        table.SetRow(r, {n, first + n, second, "12990", "5", "150", "46000" + n, "7", "0"});
    }
    tables::WriteEndMarker(table, kFullList + 1);
    QString error;
    if (!tables::WriteTableFile(ListPath(), table, kFullList, error))
        throw std::runtime_error(error.toStdString());
}

// The window as the operator has it: shown, with a PLU list.
struct Window {
    Window() : dialogs(new PathDialogs(ListPath())), form(std::unique_ptr<Dialogs>(dialogs)) {
        form.show();
        form.findChild<GridView*>(QStringLiteral("StringGrid1"))->show();
        form.Button18Click();
    }
    PathDialogs* dialogs;
    TForm1 form;
};

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void Check(benchmark::State& state, Window& w, int rows) {
    if (!w.dialogs->failure.isEmpty())
        state.SkipWithError(w.dialogs->failure.toStdString().c_str());
    if (w.form.ForTests().Grid.RowCount() != rows)
        state.SkipWithError("the grid does not hold the list");
}

void OpenIntoGrid(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        w.form.Button20Click();
        // The view lays itself out and paints once the command returns.
        QCoreApplication::processEvents();
    }
    Check(state, w, kFullList + 2);
    state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(OpenIntoGrid)->Unit(benchmark::kMillisecond)->UseRealTime();

void SaveFromGrid(benchmark::State& state) {
    Window w;
    w.form.Button20Click();
    for (auto _ : state) w.form.Button19Click();
    Check(state, w, kFullList + 2);
    state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(SaveFromGrid)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    WriteFullList();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
