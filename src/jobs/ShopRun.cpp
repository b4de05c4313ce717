#include "ShopRun.h"

#include "Download.h"

namespace jobs {

// One scale's load as its state: progress, questions through the shared round, Stop.
class ShopRun::ScaleObserver : public ChangesObserver {
  public:
    ScaleObserver(ShopRun& run, int scale) : run_(run), scale_(scale) {}

    bool SendWholeList(Distrust why, const std::string& detail) override {
        // Nothing was sent and nothing can be asked: the load's end says so.
        if (why == Distrust::NotKeepable) return false;
        ScaleQuestion q;
        q.kind = why == Distrust::Unknown ? QuestionKind::NothingKnown : QuestionKind::KnownStale;
        q.detail = detail;
        return Ask(q);
    }
    bool TrustUnchecked(int toSend, int rows) override {
        ScaleQuestion q;
        q.kind = QuestionKind::MessagesUnchecked;
        q.toSend = toSend;
        q.rows = rows;
        return Ask(q);
    }
    void Checking() override { Stage(ShopScaleState::Stage::Checking); }
    void Sending(int rows, int) override {
        run_.questions_.Settled(scale_);
        run_.Update(scale_, [rows](ShopScaleState& s) {
            s.stage = ShopScaleState::Stage::Sending;
            s.rows = rows;
        });
    }
    void RowStarting(int row, int rows) override {
        run_.Update(scale_, [row, rows](ShopScaleState& s) {
            s.row = row;
            s.rows = rows;
        });
    }
    void RowDone(int, const tables::Row&) override {
        run_.Update(scale_, [](ShopScaleState& s) { ++s.done; });
    }
    bool StopNow() override { return run_.stop_; }

    void Stage(ShopScaleState::Stage stage) {
        run_.Update(scale_, [stage](ShopScaleState& s) { s.stage = stage; });
    }

  private:
    bool Ask(ScaleQuestion q) {
        q.scale = scale_;
        Stage(ShopScaleState::Stage::Asking);
        const bool yes = run_.questions_.Ask(q);
        Stage(ShopScaleState::Stage::Checking);
        return yes;
    }
    ShopRun& run_;
    int scale_;
};

ShopRun::ShopRun(ShopJob job, std::function<void()> changed)
    : job_(std::move(job)),
      changed_(std::move(changed)),
      questions_(static_cast<int>(job_.ports.size()), [this] { Changed(); }),
      states_(job_.ports.size()) {
    running_ = static_cast<int>(job_.ports.size());
    for (std::size_t i = 0; i < job_.ports.size(); ++i)
        threads_.emplace_back([this, i] { RunScale(static_cast<int>(i)); });
}

ShopRun::~ShopRun() {
    Stop();
    for (auto& t : threads_) t.join();
}

void ShopRun::Stop() {
    stop_ = true;
    questions_.Cancel();
}

std::vector<ShopScaleState> ShopRun::States() {
    told_ = false;
    std::lock_guard<std::mutex> lock(mutex_);
    return states_;
}

void ShopRun::Changed() {
    if (changed_ && !told_.exchange(true)) changed_();
}

void ShopRun::Update(int scale, const std::function<void(ShopScaleState&)>& change) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        change(states_[static_cast<std::size_t>(scale)]);
    }
    Changed();
}

void ShopRun::RunScale(int scale) {
    const ShopPort& port = job_.ports[static_cast<std::size_t>(scale)];
    ScaleObserver observer(*this, scale);
    ShopScaleEnd end;
    std::unique_ptr<TComm> opened;
    TComm* comm = port.own;
    if (!comm) {
        opened = job_.open ? job_.open(port.name, end.openProblem) : nullptr;
        if (!opened && end.openProblem.empty()) end.openProblem = port.name;
        comm = opened.get();
    }
    if (comm) Work(scale, *comm, observer, end);
    questions_.Settled(scale);
    opened.reset();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ShopScaleState& s = states_[static_cast<std::size_t>(scale)];
        s.stage = ShopScaleState::Stage::Ended;
        s.end = std::move(end);
    }
    --running_;
    Changed();
}

void ShopRun::Work(int scale, TComm& comm, ScaleObserver& observer, ShopScaleEnd& end) {
    const std::string& port = job_.ports[static_cast<std::size_t>(scale)].name;
    scale::Link link{comm, job_.clock ? *job_.clock : scale::SystemClock(), job_.byteTimeoutMs};
    switch (job_.task) {
        case ShopTask::SendChanges:
            observer.Stage(ShopScaleState::Stage::Checking);
            end.load = LoadChanges(link, port, job_.table, job_.kind, observer);
            return;
        case ShopTask::SendWholeList: {
            questions_.Settled(scale);
            const int rows = DataRows(job_.table);
            observer.Sending(rows, -1);
            const KeptDownload kept = LoadWholeList(link, port, job_.table, job_.kind, observer);
            end.load.report = kept.report;
            end.load.rows = rows;
            end.load.knownNote = kept.knownNote;
            return;
        }
        case ShopTask::ReadDisplay:
            questions_.Settled(scale);
            observer.Stage(ShopScaleState::Stage::Reading);
            end.readout = RunReadout(link, port);
            return;
    }
}

}  // namespace jobs
