// A full PLU list (65,535 rows, Cyrillic names) saved, opened and passed through the grid's
// Unicode seam. Target: open (read + parse) and save each under 0.5 s.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "CodePage1251.h"
#include "Table.h"
#include "TableFile.h"

namespace {

constexpr int kFullList = 65535;

tables::Table FullPluList() {
    tables::Table table;
    tables::MakeNewList(table, tables::ListKind::Plu);
    const std::string first = tables::EncodeCp1251(QString::fromUtf8("Хлеб ржаной нарезной №"));
    const std::string second = tables::EncodeCp1251(QString::fromUtf8("Ёмкость 0,5 кг"));
    table.SetRowCount(kFullList + 2);
    for (int r = 1; r <= kFullList; ++r) {
        const std::string n = std::to_string(r);
        table.SetRow(r, {n, first + n, second, "12990", "5", "150", "46000" + n, "7", "0"});
    }
    tables::WriteEndMarker(table, kFullList + 1);
    return table;
}

const tables::Table& List() {
    static const tables::Table table = FullPluList();
    return table;
}

QString ListPath() {
    static QTemporaryDir dir;
    return dir.filePath("full.plu");
}

void Save(benchmark::State& state) {
    QString error;
    for (auto _ : state) {
        if (!tables::WriteTableFile(ListPath(), List(), kFullList, error)) {
            state.SkipWithError(error.toStdString().c_str());
        }
    }
}
BENCHMARK(Save)->Unit(benchmark::kMillisecond)->UseRealTime();

void Open(benchmark::State& state) {
    QString error;
    tables::WriteTableFile(ListPath(), List(), kFullList, error);
    for (auto _ : state) {
        std::string bytes;
        if (tables::ReadTableFile(ListPath(), bytes) != tables::ReadResult::Ok) {
            state.SkipWithError("cannot read the list");
        }
        tables::Table table;
        tables::LoadRows(table, tables::ParseTableFile(bytes));
        benchmark::DoNotOptimize(table.RowCount());
    }
}
BENCHMARK(Open)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every cell shown and typed back once: far more than a view ever asks for at a time.
void EveryCellThroughUnicode(benchmark::State& state) {
    tables::Table table = List();
    for (auto _ : state) {
        for (int r = 1; r <= kFullList; ++r) {
            for (int c = 0; c < tables::kColumns; ++c) {
                const QString shown = tables::DecodeCp1251(table.Cell(c, r));
                table.SetCell(c, r, tables::EncodeCp1251(shown));
            }
        }
        benchmark::DoNotOptimize(table.Cell(1, 1));
    }
}
BENCHMARK(EveryCellThroughUnicode)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
