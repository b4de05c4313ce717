#include "TransferLog.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "AtomicFile.h"
#include "PortMap.h"

namespace jobs {
namespace {

namespace fs = std::filesystem;

template <typename Outcome>
std::string ExchangeName(Outcome outcome) {
    static const char* const kPlu[] = {"ok", "T1", "T2", "T3", "T4", "stalled"};
    static const char* const kMsg[] = {"ok", "F1", "F2", "F3", "F4", "F5", "F6", "stalled"};
    static const char* const kUpload[] = {"ok", "end-of-list", "U1", "U2", "U3", "stalled"};
    const auto at = static_cast<std::size_t>(outcome);
    if constexpr (std::is_same_v<Outcome, scale::PluOutcome>) return kPlu[at];
    if constexpr (std::is_same_v<Outcome, scale::MsgOutcome>) return kMsg[at];
    return kUpload[at];
}

std::string Seconds(std::chrono::milliseconds duration) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3fs", static_cast<double>(duration.count()) / 1000.0);
    return text;
}

std::string Head(const RunLine& run) {
    return LocalTimeNow() + " " + run.port + " " + serial::DeviceOfComName(run.port) + " " +
           RunKindName(run.kind);
}

std::string OldFile(const std::string& path, int n) {
    return path + "." + std::to_string(n);
}

}  // namespace

std::string LocalTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %z", &local);
    return text;
}

const char* RunKindName(RunKind kind) {
    switch (kind) {
        case RunKind::PluDownload:
            return "plu-download";
        case RunKind::MsgDownload:
            return "msg-download";
        case RunKind::PluUpload:
            return "plu-upload";
        case RunKind::Readout:
            return "readout";
        case RunKind::PluCompare:
            return "plu-compare";
    }
    return "?";
}

std::string OutcomeName(const Failure& failure) {
    if (failure.problem == scale::RowProblem::BadShelfLife) return "bad-shelf-life";
    if (failure.problem == scale::RowProblem::BadCell)
        return "bad-cell column " + std::to_string(failure.column + 1);
    if (!failure.outcome) return "?";
    return std::visit([](auto outcome) { return ExchangeName(outcome); }, *failure.outcome);
}

std::string OutcomeName(scale::ReadoutOutcome outcome) {
    static const char* const kNames[] = {"ok", "no-answer", "refused", "stalled"};
    return kNames[static_cast<std::size_t>(outcome)];
}

std::string OutcomeName(const Report& report) {
    if (report.stopped) return "stopped";
    return report.failure ? OutcomeName(*report.failure) : "ok";
}

std::string StateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    const std::string base = state && *state ? state
                             : home          ? std::string(home) + "/.local/state"
                                             : std::string(".");
    return base + "/qvscale";
}

TransferLog::TransferLog(std::string path) : path_(std::move(path)) {}

std::string TransferLog::Path() const {
    return path_.empty() ? StateFolder() + "/transfers.log" : path_;
}

void TransferLog::Write(const RunLine& run) {
    const std::string rows =
        std::to_string(run.rowsDone) + "/" + (run.rows > 0 ? std::to_string(run.rows) : "?");
    const std::string skipped = run.skipped >= 0 ? " skipped " + std::to_string(run.skipped) : "";
    Append(Head(run) + " rows " + rows + " " + run.outcome + " " + Seconds(run.duration) + skipped);
}

void TransferLog::Write(const RunLine& run, const Report& report) {
    Write(run);
    if (report.failure && !report.stopped)
        Append(Head(run) + " row " + std::to_string(report.failure->row) + " " +
               OutcomeName(*report.failure));
}

void TransferLog::WriteRun(const std::string& port, RunKind kind, int rows, const Report& report,
                           int skipped) {
    Write({port, kind, report.rowsDone, rows, OutcomeName(report), report.duration, skipped},
          report);
}

void TransferLog::RotateIfFull(const std::string& path) const {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error || size < kRotateBytes) return;
    fs::remove(OldFile(path, kOldFiles), error);
    for (int n = kOldFiles - 1; n >= 1; --n)
        fs::rename(OldFile(path, n), OldFile(path, n + 1), error);
    fs::rename(path, OldFile(path, 1), error);
}

void TransferLog::Append(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string path = Path();
    std::error_code error;
    fs::create_directories(fs::path(path).parent_path(), error);
    RotateIfFull(path);
    std::ofstream out(path, std::ios::app | std::ios::binary);
    errno = 0;
    out << line << '\n';
    out.flush();
    if (out || !failure_.empty()) return;
    const QString cause = tables::WriteFailureCause(errno, QString::fromStdString(path));
    failure_ = "Журнал обмена не записывается в " + path + ": " + cause.toStdString();
}

std::string TransferLog::ReadAll() const {
    const std::string path = Path();
    std::string all;
    for (int n = kOldFiles; n >= 0; --n) {
        std::ifstream in(n == 0 ? path : OldFile(path, n), std::ios::binary);
        if (!in) continue;
        std::ostringstream text;
        text << in.rdbuf();
        all += text.str();
    }
    return all;
}

TransferLog& SharedLog() {
    static TransferLog log;
    return log;
}

}  // namespace jobs
