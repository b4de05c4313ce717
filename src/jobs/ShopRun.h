#pragma once
// One piece of work on several scales at once, each on its own thread and line, for a caller
// that keeps its own thread free: it is told when something changed and reads the scales' states
// then. A scale that fails never stops the others; Stop ends every load after its current record.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ChangesLoad.h"
#include "Link.h"
#include "MyCom.h"
#include "Runs.h"
#include "ShopQuestions.h"
#include "Table.h"
#include "TransferLog.h"

namespace jobs {

enum class ShopTask { SendChanges, SendWholeList, ReadDisplay };

struct ShopPort {
    std::string name;      // "COM3"
    TComm* own = nullptr;  // a port the caller holds open: used as it is, never opened again
};

// Opens a port the caller does not hold; null, and why in the operator's words, when it cannot.
using PortOpener =
    std::function<std::unique_ptr<TComm>(const std::string& name, std::string& problem)>;

struct ShopJob {
    ShopTask task = ShopTask::SendChanges;
    tables::Table table;  // the run's own copy: nothing edits it while the loads read it
    scale::RowKind kind = scale::RowKind::Plu;
    std::vector<ShopPort> ports;
    PortOpener open;
    scale::Clock* clock = nullptr;  // null: the system clock
    int byteTimeoutMs = scale::kByteTimeoutMs;
};

struct ShopScaleEnd {
    std::string openProblem;  // the port did not open; nothing was run on it
    ChangesResult load;       // a load's end; a whole list's load ends as Sent
    ReadoutRun readout;
    bool Opened() const { return openProblem.empty(); }
};

struct ShopScaleState {
    enum class Stage { Opening, Checking, Asking, Sending, Reading, Ended };
    Stage stage = Stage::Opening;
    int row = 0;   // the row under way, 1 first; 0 before the first
    int done = 0;  // rows that went well
    int rows = 0;  // rows the load sends
    std::optional<ShopScaleEnd> end;
};

class ShopRun {
  public:
    // Starts every scale's thread. changed is called on those threads, at most once until
    // States() is read again, so a caller that hands it to its own thread is never flooded.
    ShopRun(ShopJob job, std::function<void()> changed);
    // Stops the loads after their current records and waits for them.
    ~ShopRun();
    ShopRun(const ShopRun&) = delete;
    ShopRun& operator=(const ShopRun&) = delete;

    std::vector<ShopScaleState> States();
    QuestionRound& Questions() { return questions_; }
    void Stop();
    bool Ended() const { return running_ == 0; }

  private:
    class ScaleObserver;
    void RunScale(int scale);
    void Work(int scale, TComm& comm, ScaleObserver& observer, ShopScaleEnd& end);
    void Update(int scale, const std::function<void(ShopScaleState&)>& change);
    void Changed();

    ShopJob job_;
    std::function<void()> changed_;
    QuestionRound questions_;
    std::mutex mutex_;
    std::vector<ShopScaleState> states_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> told_{false};
    std::atomic<int> running_{0};
    std::vector<std::thread> threads_;
};

}  // namespace jobs
