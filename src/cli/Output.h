#pragma once
// Everything the command line says, from any port's thread: human text, one JSON object a line
// for a program (--json), and one live progress line per port on a terminal.

#include <QJsonObject>
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace cli {

// Text of the command line, UTF-8, as a QString: for events.
inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

class Output {
  public:
    // With json, JSON events go to `out` and every human line to `err`; without, results go to
    // `out` and problems to `err`. outTaken: `out` carries data (a file's bytes), so results go
    // to `err` too. progress: draw live lines on `err` (a terminal).
    Output(bool json, bool outTaken, std::FILE* out, std::FILE* err, bool progress);

    // A result a person reads: standard output, or standard error under --json.
    void Say(const std::string& line) { SayOrWarn(true, line); }
    // A problem: always standard error.
    void Warn(const std::string& line) { SayOrWarn(false, line); }
    // A problem that ends the command: warned, and the exit code it ends with given back.
    int Fail(const std::string& line, int exitCode) {
        Warn(line);
        return exitCode;
    }
    // A run's last word: a result when it went well, else a problem.
    void SayOrWarn(bool wentWell, const std::string& line);
    // An event for a program; nothing without --json.
    void Event(const QJsonObject& event);

    // The live lines, in the order the ports were given; rows is 0 when not known ahead.
    void TrackPorts(const std::vector<std::string>& ports);
    void Progress(const std::string& port, int done, int rows);
    // The port's run has ended: its line says so at once, with no rate that would fall.
    void Finished(const std::string& port, const std::string& summary);
    // Takes the lines off the screen: the summaries that follow say what they said.
    void EndProgress();

  private:
    struct Track {
        int done = 0;
        int rows = 0;
        std::string summary;  // set once the run has ended
        std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    };
    void Draw(bool force);
    void ClearLines();
    bool json_;
    bool outTaken_;
    std::FILE* out_;
    std::FILE* err_;
    bool progress_;
    std::mutex mutex_;
    std::vector<std::string> order_;
    std::map<std::string, Track> tracks_;
    int drawnLines_ = 0;
    std::chrono::steady_clock::time_point lastDraw_{};
};

// "11,6": one decimal, with the comma Russian writes.
std::string Decimal(double value);

// "rows 120 of 200" in Russian; no total when it is not known ahead.
std::string RowsText(int done, int rows);

}  // namespace cli
