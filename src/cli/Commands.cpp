#include "Commands.h"

#include <QFileInfo>
#include <QJsonArray>
#include <cstdio>

#include "ChangedOnly.h"
#include "CsvFile.h"
#include "DisplayFormat.h"
#include "Download.h"
#include "ExitCode.h"
#include "Outcomes.h"
#include "Runs.h"
#include "SheetFile.h"
#include "TableFile.h"

namespace cli {

namespace {

// A file with thousands of bad rows is most likely no list at all; the first ones say enough.
constexpr std::size_t kBadRowsShown = 50;

PortResult ReadOnePort(const PortName& port, scale::Link& link, Output& output) {
    RunStarted(output, port.name, jobs::RunKind::Readout, 1);
    const jobs::ReadoutRun run = jobs::RunReadout(link, port.name);
    const bool read = run.outcome == scale::ReadoutOutcome::Ok;
    PortResult result{port.name, ExitCodeOf(run.outcome), {}, {}, true};
    result.report.rowsDone = read ? 1 : 0;
    result.report.duration = run.duration;
    const std::string weight = scale::FormatWeight(run.reading.weight);
    const std::string price = scale::FormatPrice(run.reading.price);
    const std::string total = scale::FormatTotal(run.reading.total);
    result.summary =
        read ? port.name + ": Вес " + weight + "  Цена " + price + "  Стоимость " + total
             : port.name + ": " + ReadoutText(run.outcome);
    QJsonObject end = RunEndEvent(result, jobs::RunKind::Readout, jobs::OutcomeName(run.outcome));
    if (read) {
        end.insert("weight", Q(weight));
        end.insert("price", Q(price));
        end.insert("total", Q(total));
    }
    output.Event(end);
    return result;
}

// The uploaded records as a table: titles, records, marker row.
tables::Table TableOf(std::vector<tables::Row> rows) {
    tables::Table table;
    tables::WriteTitles(table, tables::ListKind::Plu);
    rows.push_back(tables::Row{tables::kEndMarker});
    tables::LoadRows(table, std::move(rows));
    return table;
}

// What the import left out or cut, as the window's report says it.
void SayImportNotes(const QString& file, const jobs::ImportReport& report, Output& output) {
    const auto say = [&](const std::string& note, const char* what, const char* key,
                         const QJsonArray& items) {
        if (note.empty()) return;
        output.Event({{"event", "import-note"},
                      {"file", file},
                      {"what", what},
                      {key, items},
                      {"text", Q(note)}});
        output.Warn(file.toStdString() + ": " + note);
    };
    QJsonArray lines;
    for (const jobs::RowPlace& place : report.namesCut) lines.append(place.line);
    QJsonArray columns;
    for (const std::string& title : report.ignoredColumns) columns.append(Q(title));
    say(jobs::NamesCutNote(report), "names-cut", "lines", lines);
    say(jobs::IgnoredColumnsNote(report), "ignored-columns", "columns", columns);
}

// Why a file cannot be written at the path, found before anything is asked of a scale; empty
// when it may be.
std::string OutputProblem(const QString& path) {
    if (path == QStringLiteral("-")) return {};
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    if (info.isDir()) return "это папка";
    if (!QFileInfo(folder).isDir()) return "папки " + folder.toStdString() + " нет";
    if (!QFileInfo(folder).isWritable())
        return "нет прав на запись в папку " + folder.toStdString();
    return {};
}

// The event that ends a run whose file was not written; gives its exit code.
int FileNotWritten(const QString& path, const std::string& text, Output& output) {
    output.Event({{"event", "file-not-written"},
                  {"file", path},
                  {"text", Q(text)},
                  {"exit_code", kBadFile}});
    return kBadFile;
}

}  // namespace

void RunStarted(Output& output, const std::string& port, jobs::RunKind kind, int rows,
                int skipped) {
    QJsonObject start{{"event", "run-start"},
                      {"port", Q(port)},
                      {"kind", jobs::RunKindName(kind)},
                      {"rows", rows}};
    if (skipped >= 0) start.insert("skipped", skipped);
    output.Event(start);
}

bool WriteList(const QString& path, const tables::Table& table, tables::ListKind kind,
               tables::CsvEncoding encoding, Output& output) {
    const int records = tables::DataRowCount(table);
    if (path == QStringLiteral("-")) {
        const std::string bytes = tables::TableFileBytes(table, records);
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        return std::fflush(stdout) == 0;
    }
    QString error;
    const bool existed = QFileInfo::exists(path);
    const bool written = tables::SheetFormatOfName(path) == tables::SheetFormat::Xlsx
                             ? tables::WriteXlsxFile(path, table, kind, records, error)
                         : IsCsvFileName(path)
                             ? tables::WriteCsvFile(path, table, kind, records, encoding, error)
                             : tables::WriteTableFile(path, table, records, error);
    if (written) return true;
    output.Warn("Файл " + path.toStdString() + " не записан: " + error.toStdString() +
                (existed ? "; прежний файл остался как был" : ""));
    return false;
}

PortResult SendToPort(const PortName& port, scale::Link& link, const ListFile& list,
                      Output& output) {
    const int rows = jobs::DataRows(list.table);
    const jobs::RunKind kind = jobs::DownloadKindOf(list.kind);
    RunStarted(output, port.name, kind, rows);
    PortObserver observer(port.name, output, rows);
    const jobs::KeptDownload kept =
        jobs::LoadWholeList(link, port.name, list.table, jobs::RowKindOf(list.kind), observer);
    if (!kept.knownNote.empty()) output.Warn(kept.knownNote);
    return RunEnded(port.name, kind, rows, kept.report, output);
}

int Summarize(const std::vector<PortResult>& results, Output& output) {
    output.EndProgress();
    int worst = kDone;
    for (const auto& r : results) {
        output.SayOrWarn(r.exitCode == kDone, r.summary);
        worst = Worst(worst, r.exitCode);
    }
    if (!jobs::SharedLog().WriteFailure().empty()) output.Warn(jobs::SharedLog().WriteFailure());
    return worst;
}

int RunDisplay(const Settings& settings, Output& output) {
    const auto results = RunOnPorts(settings, output, [&](const PortName& port, scale::Link& link) {
        return ReadOnePort(port, link, output);
    });
    return Summarize(results, output);
}

std::optional<tables::ListKind> KindToSend(const Settings& settings, const QString& file) {
    return settings.kind ? settings.kind : KindOfFileName(file);
}

int ReadList(const QString& file, std::optional<tables::ListKind> kind,
             const jobs::ImportOptions& import, const std::string& nothingDone, Output& output,
             ListFile& list) {
    list = LoadListFile(file, kind, import);
    if (!list.problem.empty()) {
        output.Event({{"event", "bad-file"}, {"file", file}, {"text", Q(list.problem)}});
        return output.Fail(list.problem, kBadFile);
    }
    if (list.imported) SayImportNotes(file, *list.imported, output);
    if (list.imported && list.imported->remembered)
        output.Say("Выбор столбцов запомнен: файлы с таким заголовком прочтутся без --columns");
    if (list.imported && !list.imported->rememberFailure.empty())
        output.Warn("Выбор столбцов не запомнен: " + list.imported->rememberFailure);
    if (list.badRows.empty()) return kDone;
    for (std::size_t i = 0; i < list.badRows.size() && i < kBadRowsShown; ++i) {
        const BadRow& bad = list.badRows[i];
        output.Event({{"event", "bad-row"},
                      {"file", file},
                      {"row", bad.row},
                      {"column", Q(bad.column)},
                      {"reason", Q(bad.reason)}});
        output.Warn(BadRowText(bad));
    }
    const std::size_t count = static_cast<std::size_t>(list.badRowCount);
    const std::size_t more = count > kBadRowsShown ? count - kBadRowsShown : 0;
    output.Warn("В файле " + file.toStdString() + " строк с ошибками: " + std::to_string(count) +
                (more ? " (не показано: " + std::to_string(more) + ")" : "") + ". " + nothingDone);
    return kBadFile;
}

std::vector<PortResult> SendList(const Settings& settings, const ListFile& list, Output& output) {
    const Untrusted untrusted = settings.fullIfUnknown ? Untrusted::WholeByFlag : Untrusted::Refuse;
    return RunTracked(settings, output, [&](const PortName& port, scale::Link& link) {
        return settings.changedOnly ? SendChangesToPort(untrusted, port, link, list, output)
                                    : SendToPort(port, link, list, output);
    });
}

int RunDownload(const Settings& settings, Output& output) {
    ListFile list;
    const int read = ReadList(settings.file, KindToSend(settings, settings.file), settings.import,
                              kNothingSent, output, list);
    if (read != kDone) return read;
    // A CSV file gives its kind only once read.
    if (const auto problem = ChangesProblem(settings, list.kind))
        return output.Fail(*problem, kUsage);
    return Summarize(SendList(settings, list, output), output);
}

int RunUpload(const Settings& settings, Output& output) {
    const std::string file = settings.output.toStdString();
    if (const std::string why = OutputProblem(settings.output); !why.empty()) {
        const std::string text =
            "Файл " + file + " не записать: " + why + "; список из весов не принимался";
        output.Warn(text);
        return FileNotWritten(settings.output, text, output);
    }
    tables::Table uploaded;
    auto results = RunTracked(settings, output, [&](const PortName& port, scale::Link& link) {
        RunStarted(output, port.name, jobs::RunKind::PluUpload, 0);
        PortObserver observer(port.name, output, 0);
        const jobs::KeptUpload kept = jobs::UploadKeepingKnown(link, port.name, observer);
        if (!kept.knownNote.empty()) output.Warn(kept.knownNote);
        uploaded = TableOf(observer.received);
        return RunEnded(port.name, jobs::RunKind::PluUpload, 0, kept.report, output);
    });
    PortResult& result = results.front();
    const bool write = result.opened && (result.exitCode == kDone || settings.partial);
    if (write &&
        !WriteList(settings.output, uploaded, tables::ListKind::Plu, settings.encoding, output)) {
        const std::string notWritten = "файл " + file + " не записан";
        // What the scale gave is not the run's last word when it is lost.
        result.summary = result.exitCode == kDone
                             ? result.port +
                                   ": принято строк: " + std::to_string(result.report.rowsDone) +
                                   ", но " + notWritten
                             : result.summary + "; " + notWritten;
        result.exitCode = Worst(result.exitCode, kBadFile);
        FileNotWritten(settings.output, result.summary, output);
    } else if (write && settings.output != QStringLiteral("-")) {
        output.Event({{"event", "file-written"},
                      {"file", settings.output},
                      {"rows", tables::DataRowCount(uploaded)}});
    } else if (result.opened && !write) {
        result.summary += "; файл " + file + " не тронут (--partial записал бы принятое)";
    }
    return Summarize(results, output);
}

int RunConvert(const Settings& settings, Output& output) {
    ListFile list;
    const int read =
        ReadList(settings.file, KindToSend(settings, settings.file), settings.import,
                 "Файл " + settings.output.toStdString() + " не записан", output, list);
    if (read != kDone) return read;
    const std::optional<tables::ListKind> target = KindOfFileName(settings.output);
    if (target && *target != list.kind) {
        output.Warn("Файл " + settings.output.toStdString() + " не записан: его расширение " +
                    "не того вида списка, что в " + settings.file.toStdString());
        return kBadFile;
    }
    if (!WriteList(settings.output, list.table, list.kind, settings.encoding, output))
        return kBadFile;
    output.Say("Записано строк: " + std::to_string(tables::DataRowCount(list.table)) + " в " +
               settings.output.toStdString());
    return kDone;
}

}  // namespace cli
