#pragma once
// The transfer log: one line per run and one per failed row, in
// $XDG_STATE_HOME/qvscale/transfers.log (~/.local/state/qvscale/transfers.log), rotated at 1 MiB
// keeping three old files. The window and the command line write the same log.
//
//   2026-12-08 10:24:31 +0300 COM2 /dev/ttyUSB0 plu-download rows 3/5 T4 1.204s
//   2026-12-08 10:24:31 +0300 COM2 /dev/ttyUSB0 plu-download row 4 T4
//   2026-12-09 08:02:10 +0300 COM2 /dev/ttyUSB0 plu-download rows 42/42 ok 4.127s skipped 4958
//
// A log that cannot be written never stops a transfer: the first failure is kept for whoever
// shows the log. Runs on several threads may share one log.

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>

#include "Job.h"

namespace jobs {

// $XDG_STATE_HOME/qvscale (~/.local/state/qvscale) as the environment says now: the log and the
// scales' known contents live there.
std::string StateFolder();

// What a log line calls a run's kind.
enum class RunKind { PluDownload, MsgDownload, PluUpload, Readout, PluCompare };
const char* RunKindName(RunKind kind);
// A download, by the kind of its list.
inline RunKind DownloadKindOf(scale::RowKind kind) {
    return kind == scale::RowKind::Plu ? RunKind::PluDownload : RunKind::MsgDownload;
}
inline RunKind DownloadKindOf(tables::ListKind kind) {
    return DownloadKindOf(RowKindOf(kind));
}

// The outcome of a changed-only load that found the scale not holding what it was known to.
constexpr const char* kKnownStale = "known-stale";

// "2026-12-08 10:24:31 +0300": a log line's time stamp.
std::string LocalTimeNow();

// The outcome's short name in the log: "ok", "stopped", "bad-cell", "bad-shelf-life", the
// exchange's own (T1..T4, F1..F6, U1..U3) or "stalled".
std::string OutcomeName(const Report& report);
std::string OutcomeName(const Failure& failure);
std::string OutcomeName(scale::ReadoutOutcome outcome);

struct RunLine {
    std::string port;  // "COM2"
    RunKind kind = RunKind::PluDownload;
    int rowsDone = 0;
    int rows = 0;  // 0 when not known ahead, as in an upload
    std::string outcome;
    std::chrono::milliseconds duration{0};
    // A changed-only load: the rows left out as unchanged. -1 for any other run.
    int skipped = -1;
};

class TransferLog {
  public:
    static constexpr std::uintmax_t kRotateBytes = 1024 * 1024;
    static constexpr int kOldFiles = 3;

    // Old files are path.1 (newest) .. path.3. Without a path, StateFolder()/transfers.log as the
    // environment gives it at each write.
    explicit TransferLog(std::string path = {});

    std::string Path() const;
    void Write(const RunLine& run);
    // The run's line and, for a failed row, the row's own.
    void Write(const RunLine& run, const Report& report);
    // The same, the run's line as its report tells it: rows done, outcome, duration.
    void WriteRun(const std::string& port, RunKind kind, int rows, const Report& report,
                  int skipped = -1);
    // The first write that failed, in the operator's words; empty while all went well.
    const std::string& WriteFailure() const { return failure_; }
    // Old files first, then the current one: newest at the end.
    std::string ReadAll() const;

  private:
    void Append(const std::string& line);
    void RotateIfFull(const std::string& path) const;
    std::string path_;
    std::string failure_;
    std::mutex mutex_;
};

// The log every run of this program writes unless given another: the default path as it is at
// each write.
TransferLog& SharedLog();

}  // namespace jobs
