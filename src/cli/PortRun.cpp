#include "PortRun.h"

#include <thread>

#include "ExitCode.h"
#include "Outcomes.h"
#include "StopSignal.h"

namespace cli {

namespace {

PortResult RunOnePort(const Settings& settings, const PortName& port, Output& output,
                      const PortWork& work) {
    std::string problem;
    std::unique_ptr<TComm> comm = OpenPort(port, settings.baud, problem);
    if (!comm) {
        output.Event({{"event", "port-failed"},
                      {"port", Q(port.name)},
                      {"device", Q(DeviceOf(port))},
                      {"text", Q(problem)},
                      {"exit_code", kNoPort}});
        return {port.name, kNoPort, port.name + ": " + problem, {}, false};
    }
    scale::Link link{*comm, scale::SystemClock(), settings.byteTimeoutMs};
    PortResult result = work(port, link);
    result.opened = true;
    return result;
}

std::string Seconds(std::chrono::milliseconds duration) {
    return Decimal(static_cast<double>(duration.count()) / 1000.0) + " с";
}

std::string SummaryOf(const std::string& port, int rows, const jobs::Report& report) {
    const std::string counted = RowsText(report.rowsDone, rows) + ", " + Seconds(report.duration);
    if (report.stopped) return port + ": остановлено по сигналу, передано " + counted;
    if (!report.failure) return port + ": готово, " + counted;
    const jobs::Failure& f = *report.failure;
    const std::string why = f.outcome ? ExchangeText(*f.outcome) : "строка не прошла проверку";
    return port + ": ошибка в строке " + std::to_string(f.row) + ": " + why + "; передано " +
           counted;
}

}  // namespace

std::vector<PortResult> RunOnPorts(const Settings& settings, Output& output, const PortWork& work) {
    std::vector<PortResult> results(settings.ports.size());
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < settings.ports.size(); ++i)
        threads.emplace_back(
            [&, i] { results[i] = RunOnePort(settings, settings.ports[i], output, work); });
    for (auto& t : threads) t.join();
    return results;
}

std::vector<PortResult> RunTracked(const Settings& settings, Output& output, const PortWork& work) {
    std::vector<std::string> names;
    for (const PortName& port : settings.ports) names.push_back(port.name);
    output.TrackPorts(names);
    return RunOnPorts(settings, output, work);
}

PortObserver::PortObserver(std::string port, Output& output, int rows)
    : port_(std::move(port)), output_(output), rows_(rows) {}

void PortObserver::RowStarting(int row, int rows) {
    output_.Progress(port_, row - 1, rows);
}

void PortObserver::RowDone(int row, const tables::Row& cells) {
    output_.Progress(port_, row, rows_);
    if (rows_ == 0) received.push_back(cells);
}

void PortObserver::RowFailed(const jobs::Failure& failure) {
    QJsonObject event{{"event", "row-failed"},
                      {"port", Q(port_)},
                      {"row", failure.row},
                      {"outcome", Q(jobs::OutcomeName(failure))}};
    if (failure.outcome) {
        event.insert("text", Q(ExchangeText(*failure.outcome)));
        event.insert("exit_code", ExitCodeOf(*failure.outcome));
    }
    output_.Event(event);
}

bool PortObserver::StopNow() {
    return StopRequested();
}

QJsonObject RunEndEvent(const PortResult& result, jobs::RunKind kind, const std::string& outcome) {
    return {{"event", "run-end"},
            {"port", Q(result.port)},
            {"kind", jobs::RunKindName(kind)},
            {"outcome", Q(outcome)},
            {"duration_ms", static_cast<qint64>(result.report.duration.count())},
            {"exit_code", result.exitCode},
            {"text", Q(result.summary)}};
}

PortResult RunEnded(const std::string& port, jobs::RunKind kind, int rows,
                    const jobs::Report& report, Output& output, int skipped) {
    PortResult result{port, ExitCodeOf(report), SummaryOf(port, rows, report), report, true};
    result.skipped = skipped;
    if (skipped >= 0) result.summary += ", без изменений: " + std::to_string(skipped);
    QJsonObject end = RunEndEvent(result, kind, jobs::OutcomeName(report));
    end.insert("rows_done", report.rowsDone);
    end.insert("rows", rows);
    end.insert("stopped", report.stopped);
    if (skipped >= 0) end.insert("skipped", skipped);
    output.Event(end);
    output.Finished(port, result.summary);
    return result;
}

}  // namespace cli
