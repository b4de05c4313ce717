#pragma once
// Runs one piece of work on every port at once, each on its own thread and line; a port that
// fails never stops the others.

#include <functional>
#include <string>
#include <vector>

#include "Job.h"
#include "Link.h"
#include "Output.h"
#include "Runs.h"
#include "Settings.h"

namespace cli {

struct PortResult {
    std::string port;
    int exitCode = 0;
    std::string summary;  // one line: the port, then what came of it
    jobs::Report report;
    bool opened = false;
    int skipped = -1;  // rows a changed-only load left out as unchanged; -1 for any other run
};

using PortWork = std::function<PortResult(const PortName& port, scale::Link& link)>;

// A port that does not open gets exit code 4 and the reason, and its work is not run.
std::vector<PortResult> RunOnPorts(const Settings& settings, Output& output, const PortWork& work);
// And each port's live line, in the order the ports were given.
std::vector<PortResult> RunTracked(const Settings& settings, Output& output, const PortWork& work);

// Reports a job's progress and failures as it runs, and stops it on a signal.
class PortObserver : public jobs::Observer {
  public:
    PortObserver(std::string port, Output& output, int rows);
    void RowStarting(int row, int rows) override;
    void RowDone(int row, const tables::Row& cells) override;
    void RowFailed(const jobs::Failure& failure) override;
    bool StopNow() override;
    // An upload's records in the order they came.
    std::vector<tables::Row> received;

  private:
    std::string port_;
    Output& output_;
    int rows_;
};

// The event that ends a run, with what every run's end says: the result's port, exit code,
// summary and duration.
QJsonObject RunEndEvent(const PortResult& result, jobs::RunKind kind, const std::string& outcome);

// The run's end, its line in the transfer log written by the job: its event and the port's
// result. skipped: the rows a changed-only load left out, -1 for any other run.
PortResult RunEnded(const std::string& port, jobs::RunKind kind, int rows,
                    const jobs::Report& report, Output& output, int skipped = -1);

}  // namespace cli
