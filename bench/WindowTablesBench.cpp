// A full PLU list (65,535 rows, Cyrillic names) opened into the window's grid and saved from it,
// through the Open and Save commands. Targets: each under 0.5 s; the program's peak memory with
// the list loaded under 150 MB (reported as peak_MB).
// In the same list: a paste of 5,000 rows of nine cells from the clipboard, under 0.5 s and
// undone in one step (undo_ms), and a find that goes round the whole list, under 50 ms.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>

#include "CodePage1251.h"
#include "Com.h"
#include "FindBar.h"
#include "GridModel.h"
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
    if (w.form.ForTests().Grid().RowCount() != rows)
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

GridView& GridOf(Window& w) {
    return *w.form.findChild<GridView*>(QStringLiteral("StringGrid1"));
}

// Tab-separated cells as a spreadsheet copies them.
QString SpreadsheetBlock(int rows) {
    QString text;
    for (int r = 0; r < rows; ++r) {
        const QString n = QString::number(r + 1);
        text += n + QStringLiteral("\tСыр Российский ") + n +
                QStringLiteral("\tвесовой\t45990\t10\t0\t2000") + n + QStringLiteral("\t3\t0\n");
    }
    return text;
}

// Over the rows of the full list (0), or into a new list, which the paste makes 5,000 rows
// longer (1).
void PasteIntoGrid(benchmark::State& state) {
    constexpr int kPasted = 5000;
    Window w;
    if (state.range(0) == 0) w.form.Button20Click();
    GridView& grid = GridOf(w);
    QGuiApplication::clipboard()->setText(SpreadsheetBlock(kPasted));
    const tables::Table opened = w.form.ForTests().Grid();
    double undoMs = 0;
    for (auto _ : state) {
        grid.setCurrentIndex(grid.model()->index(0, 0));
        grid.PasteCells();
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (w.form.ForTests().Grid().RowCount() < kPasted + 2)
            state.SkipWithError("the block was not pasted");
        QElapsedTimer undo;
        undo.start();
        grid.history().Undo();
        QCoreApplication::processEvents();
        undoMs = static_cast<double>(undo.nsecsElapsed()) / 1e6;
        if (grid.history().CanUndo() || w.form.ForTests().Grid().RowCount() != opened.RowCount() ||
            w.form.ForTests().Grid().RowAt(1) != opened.RowAt(1))
            state.SkipWithError("one undo did not take the paste back");
        state.ResumeTiming();
    }
    state.counters["undo_ms"] = undoMs;
}
BENCHMARK(PasteIntoGrid)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void FindRoundTheList(benchmark::State& state) {
    Window w;
    w.form.Button20Click();
    GridView& grid = GridOf(w);
    auto& bar = *w.form.findChild<FindBar*>(QStringLiteral("FindBar"));
    bar.Open();
    // The last record's number, found from the first row: every row is looked at.
    bar.findChild<QLineEdit*>(QStringLiteral("FindText"))->setText(QString::number(kFullList));
    for (auto _ : state) {
        state.PauseTiming();
        grid.setCurrentIndex(grid.model()->index(0, 0));
        state.ResumeTiming();
        bar.Next(true);
    }
    if (grid.currentIndex().row() != kFullList - 1) state.SkipWithError("the record was not found");
}
BENCHMARK(FindRoundTheList)->Unit(benchmark::kMillisecond)->UseRealTime();

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
