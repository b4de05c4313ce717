// A full PLU list (65,535 rows, Cyrillic names) exported to a CSV file and imported from one,
// the rows checked as the download checks them. Target: each under 0.5 s.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <fstream>

#include "CodePage1251.h"
#include "CsvFile.h"
#include "CsvImport.h"
#include "Table.h"

namespace {

constexpr int kFullList = 65535;

tables::Table FullPluList() {
    tables::Table table;
    tables::MakeNewList(table, tables::ListKind::Plu);
    const std::string first = tables::EncodeCp1251(QString::fromUtf8("Хлеб \"Дарницкий\"; №"));
    const std::string second = tables::EncodeCp1251(QString::fromUtf8("Ёмкость 0,5 кг"));
    table.SetRowCount(kFullList + 2);
    for (int r = 1; r <= kFullList; ++r) {
        const std::string n = std::to_string(r);
        table.SetRow(r, {n, first + n, second, "12990", "5", "150", "46" + n, "7", "0"});
    }
    tables::WriteEndMarker(table, kFullList + 1);
    return table;
}

const tables::Table& List() {
    static const tables::Table table = FullPluList();
    return table;
}

// What an accounting program exports: one name column and prices in roubles.
std::string AccountingExport() {
    std::string csv =
        "\xEF\xBB\xBF"
        "Код;PLU;Наименование;Цена, руб;Срок хранения\r\n";
    for (int r = 1; r <= kFullList; ++r) {
        const std::string n = std::to_string(r);
        csv += "A-" + n + ";" + n + ";\"Сыр \"\"Российский\"\" весовой, Беларусь, 45% жирности " +
               n + "\";549,90;30\r\n";
    }
    return csv;
}

QString PathIn(const char* name) {
    static QTemporaryDir dir;
    return dir.filePath(name);
}

void Export(benchmark::State& state, tables::CsvEncoding encoding) {
    QString error;
    for (auto _ : state) {
        if (!tables::WriteCsvFile(PathIn("export.csv"), List(), tables::ListKind::Plu, kFullList,
                                  encoding, error))
            state.SkipWithError(error.toStdString().c_str());
    }
}
BENCHMARK_CAPTURE(Export, Utf8, tables::CsvEncoding::Utf8)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Export, Cp1251, tables::CsvEncoding::Cp1251)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void ImportFile(benchmark::State& state, const std::string& bytes) {
    const QString path = PathIn("import.csv");
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    for (auto _ : state) {
        const jobs::ImportReport report = jobs::ImportListFile(path);
        if (!report.Imported()) state.SkipWithError(jobs::ReportText(report).c_str());
        benchmark::DoNotOptimize(report.rows.size());
    }
}
BENCHMARK_CAPTURE(ImportFile, Utf8,
                  tables::CsvBytes(List(), tables::ListKind::Plu, kFullList,
                                   tables::CsvEncoding::Utf8))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ImportFile, Cp1251,
                  tables::CsvBytes(List(), tables::ListKind::Plu, kFullList,
                                   tables::CsvEncoding::Cp1251))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ImportFile, AccountingExport, AccountingExport())
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
