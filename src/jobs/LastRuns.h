#pragma once
// The last run of each port, read back from the transfer log's text, so a list of scales can say
// when each was last worked and how that ended.

#include <map>
#include <string>

namespace jobs {

struct LastRun {
    std::string when;  // "2026-12-08 10:24:31 +0300"
    std::string kind;  // as RunKindName writes it: "plu-download"
    int rowsDone = 0;
    int rows = 0;  // 0 when the log wrote "?"
    std::string outcome;
    int skipped = -1;
};

// Run lines only (a failed row's own line is not a run); a line that is not a run line is passed
// over, so a damaged or foreign line never hides the runs around it. Later lines win.
std::map<std::string, LastRun> LastRunsByPort(const std::string& logText);

}  // namespace jobs
