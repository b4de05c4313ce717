// A full PLU list (65,535 rows) as an accounting program's .xlsx export, made by libxlsxwriter,
// imported with its columns chosen and every row checked. Target: under 1 s and 300 MB. Prints
// the peak resident size the import brought.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QTemporaryDir>

#include "CodePage1251.h"
#include "CsvImport.h"
#include "SheetFile.h"
#include "Table.h"

namespace {

constexpr int kFullList = 65535;

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Written through the table's own titles; the import is then told which column is which.
QString FullListBook(const QString& path) {
    tables::Table table;
    tables::MakeNewList(table, tables::ListKind::Plu);
    const std::string name =
        tables::EncodeCp1251(QString::fromUtf8("Сыр \"Российский\" весовой, 45% жирности "));
    table.SetRowCount(kFullList + 2);
    for (int r = 1; r <= kFullList; ++r) {
        const std::string n = std::to_string(r);
        table.SetRow(r, {n, name + n, "", "54990", "30", "0", n, "7", "0"});
    }
    tables::WriteEndMarker(table, kFullList + 1);
    QString error;
    if (!tables::WriteXlsxFile(path, table, tables::ListKind::Plu, kFullList, error)) return error;
    return {};
}

void ImportBook(benchmark::State& state) {
    qputenv("QVSCALE_XLSX_WRITER", QVSCALE_XLSX);
    QTemporaryDir dir;
    const QString path = dir.filePath("prices.xlsx");
    if (const QString error = FullListBook(path); !error.isEmpty()) {
        state.SkipWithError(error.toStdString().c_str());
        return;
    }
    jobs::ImportOptions options;
    std::string error;
    options.columns = tables::ParseColumnChoice(
        "PLU=plu,Первая строка=name1,Цена=price,Срок хранения=shelf_life", error);
    const long before = PeakKilobytes();
    for (auto _ : state) {
        const jobs::ImportReport report = jobs::ImportListFile(path, options);
        if (!report.Imported()) state.SkipWithError(jobs::ReportText(report).c_str());
        benchmark::DoNotOptimize(report.rows.size());
    }
    state.counters["peak_MB"] = static_cast<double>(PeakKilobytes()) / 1024;
    state.counters["peak_growth_MB"] = static_cast<double>(PeakKilobytes() - before) / 1024;
}
BENCHMARK(ImportBook)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
