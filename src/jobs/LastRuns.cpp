#include "LastRuns.h"

#include <optional>
#include <sstream>
#include <vector>

namespace jobs {

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::optional<int> Count(const std::string& text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

// "3/5" or "0/?".
bool ParseRows(const std::string& text, LastRun& run) {
    const auto slash = text.find('/');
    if (slash == std::string::npos) return false;
    const std::optional<int> done = Count(text.substr(0, slash));
    const std::string total = text.substr(slash + 1);
    const std::optional<int> rows = total == "?" ? std::optional<int>(0) : Count(total);
    if (!done || !rows) return false;
    run.rowsDone = *done;
    run.rows = *rows;
    return true;
}

// date time zone port device kind "rows" done/rows outcome duration ["skipped" n]
std::optional<std::pair<std::string, LastRun>> ParseRunLine(const std::string& line) {
    const std::vector<std::string> w = Words(line);
    if (w.size() != 10 && w.size() != 12) return std::nullopt;
    if (w[6] != "rows" || w[9].empty() || w[9].back() != 's') return std::nullopt;
    LastRun run;
    if (!ParseRows(w[7], run)) return std::nullopt;
    if (w.size() == 12) {
        const std::optional<int> skipped = Count(w[11]);
        if (w[10] != "skipped" || !skipped) return std::nullopt;
        run.skipped = *skipped;
    }
    run.when = w[0] + " " + w[1] + " " + w[2];
    run.kind = w[5];
    run.outcome = w[8];
    return std::make_pair(w[3], run);
}

}  // namespace

std::map<std::string, LastRun> LastRunsByPort(const std::string& logText) {
    std::map<std::string, LastRun> last;
    std::istringstream in(logText);
    for (std::string line; std::getline(in, line);) {
        if (auto run = ParseRunLine(line)) last[run->first] = run->second;
    }
    return last;
}

}  // namespace jobs
