#include "Sync.h"

#include <poll.h>

#include <QDateTime>
#include <map>
#include <random>

#include "ChangedOnly.h"
#include "Commands.h"
#include "Credentials.h"
#include "Deadline.h"
#include "ExitCode.h"
#include "HubAddress.h"
#include "HubClient.h"
#include "Outcomes.h"
#include "PendingReceipts.h"
#include "Receipt.h"
#include "StopSignal.h"
#include "SyncState.h"

namespace cli {

namespace {

using hub::Outcome;

const tables::ListKind kKinds[] = {tables::ListKind::Plu, tables::ListKind::Msg};

// One scale's list of one kind that this pass tries to load.
struct Item {
    std::string port;
    tables::ListKind kind = tables::ListKind::Plu;
    std::string list;  // its name in lists/<store>/
    const ListFile* file = nullptr;
    hub::SyncState::CachedList copy;
    bool ran = false;
    PortResult result;
    QDateTime started;
    QDateTime ended;
};

// A run's receipt, read from its report as its exit code is.
Outcome OutcomeOf(const jobs::Report& report) {
    if (report.stopped) return Outcome::Stopped;
    if (!report.failure) return Outcome::Done;
    if (!report.failure->outcome) return Outcome::BadList;
    return ExitCodeOf(*report.failure->outcome) == kRefused ? Outcome::Refused : Outcome::NoAnswer;
}

// "COM2: ошибка в строке 3: ..." without its "COM2: ".
std::string WithoutPort(const std::string& summary, const std::string& port) {
    const std::string head = port + ": ";
    return summary.rfind(head, 0) == 0 ? summary.substr(head.size()) : summary;
}

// Waits up to ms; false when a stop was asked meanwhile.
bool Sleep(int ms) {
    const serial::Deadline deadline(ms);
    while (!StopRequested() && !deadline.Expired()) {
        pollfd wake{StopWakeFd(), POLLIN, 0};
        ::poll(&wake, wake.fd >= 0 ? 1 : 0, deadline.RemainingMs());
    }
    return !StopRequested();
}

class Syncer {
  public:
    Syncer(const Settings& settings, Output& output, hub::HubClient& client)
        : s_(settings),
          output_(output),
          client_(client),
          state_(settings.store),
          kept_(state_.Folder()) {}
    int Run();

  private:
    int Pass();
    bool DeliverKept();
    bool FetchLists();
    std::optional<std::string> ListFor(const std::string& port, tables::ListKind kind);
    const ListFile& Read(const std::string& name);
    std::vector<Item> ItemsToLoad(int& worst);
    std::vector<PortResult> Load(std::vector<Item>& items);
    void Settle(const Item& item, Outcome outcome, const std::string& failure,
                std::vector<std::string> problems = {});
    void Deliver(const hub::Receipt& receipt);
    void PutStatus(const std::vector<PortResult>& results);
    // A receipt or the status to the hub; a failure is kept as the pass's hub problem.
    bool PutJson(const QString& path, const QByteArray& body);
    int HubFailed();

    const Settings& s_;
    Output& output_;
    hub::HubClient& client_;
    hub::SyncState state_;
    hub::PendingReceipts kept_;
    std::map<std::string, ListFile> read_;  // this pass's lists, read and checked
    struct Retry {
        std::size_t count = 0;
        std::chrono::steady_clock::time_point due;
    };
    std::map<std::string, Retry> retries_;  // by "COM2.plu", with --every only
    std::string hubProblem_;                // the hub's first failure in this pass
    bool keptWaiting_ = false;              // receipts wait in pending/: a new one goes behind
};

int Syncer::Run() {
    if (s_.everySeconds <= 0) return Pass();
    std::mt19937 random(std::random_device{}());
    const int every = static_cast<int>(s_.everySeconds * 1000);
    // Stores that start together do not keep calling at the same second.
    std::uniform_int_distribution<int> spread(0, std::max(1, every / 10));
    for (;;) {
        Pass();
        if (StopRequested() || !Sleep(every + spread(random))) return kStopped;
    }
}

int Syncer::Pass() {
    read_.clear();
    hubProblem_.clear();
    state_.Load();
    if (!DeliverKept() || !FetchLists()) return HubFailed();
    int worst = kDone;
    std::vector<Item> items = ItemsToLoad(worst);
    const std::vector<PortResult> results = Load(items);
    for (const PortResult& port : results) {
        bool any = false;
        for (const Item& item : items) any = any || item.port == port.port;
        if (!port.opened) {
            output_.Warn(port.summary);
            if (any) worst = Worst(worst, kNoPort);
        } else if (!any) {
            output_.Say(port.port + ": нового для этих весов нет");
        }
    }
    for (const Item& item : items) {
        if (item.ran) {
            const PortResult& r = item.result;
            worst = Worst(worst, r.exitCode);
            output_.SayOrWarn(r.exitCode == kDone, r.summary);
            const Outcome outcome = OutcomeOf(r.report);
            Settle(item, outcome, outcome == Outcome::Done ? "" : WithoutPort(r.summary, r.port));
        } else if (item.result.exitCode == kNoPort) {
            Settle(item, Outcome::PortProblem, WithoutPort(item.result.summary, item.port));
        }
    }
    std::string problem;
    if (!state_.Save(problem)) output_.Warn(problem);
    PutStatus(results);
    if (!hubProblem_.empty()) {
        output_.Warn(hubProblem_);
        worst = Worst(worst, kHub);
    }
    if (!jobs::SharedLog().WriteFailure().empty()) output_.Warn(jobs::SharedLog().WriteFailure());
    return worst;
}

int Syncer::HubFailed() {
    std::string problem;
    if (!state_.Save(problem)) output_.Warn(problem);
    const std::string text = hubProblem_ + ". " + kNothingSent;
    output_.Event({{"event", "hub-failed"}, {"text", Q(text)}, {"exit_code", kHub}});
    return output_.Fail(text, kHub);
}

bool Syncer::DeliverKept() {
    const std::vector<hub::PendingReceipts::Item> items = kept_.Items();
    keptWaiting_ = !items.empty();
    for (const auto& item : items) {
        if (!PutJson(hub::ReceiptPath(s_.store, item.port, item.kind), item.body)) return false;
        kept_.Remove(item);
        output_.Say("Отложенная квитанция " + item.port + "." + item.kind + " передана на хаб");
    }
    keptWaiting_ = false;
    return true;
}

bool Syncer::FetchLists() {
    std::vector<std::string> names = hub::ListNamesFor(hub::kAllScales);
    for (const PortName& port : s_.ports)
        for (const std::string& name : hub::ListNamesFor(port.name)) names.push_back(name);
    for (const std::string& name : names) {
        const auto copy = state_.List(name);
        const hub::Answer answer =
            client_.Get(hub::ListPath(s_.store, name), copy ? copy->etag : QString());
        std::string problem;
        switch (answer.kind) {
            case hub::Answer::Kind::Failed:
                hubProblem_ = answer.problem;
                return false;
            case hub::Answer::Kind::Missing:
                if (copy) state_.ForgetList(name);
                break;
            case hub::Answer::Kind::NotModified:
                break;
            case hub::Answer::Kind::Body:
                if (!state_.KeepList(name, answer.etag, answer.body, problem)) {
                    output_.Warn(problem);
                    state_.ForgetList(name);
                }
                break;
        }
    }
    return true;
}

const ListFile& Syncer::Read(const std::string& name) {
    const auto it = read_.find(name);
    if (it != read_.end()) return it->second;
    const QString copy = state_.CopyOf(name);
    ListFile list;
    ReadList(copy, KindOfFileName(copy), s_.import, kNothingSent, output_, list);
    state_.SetKind(name, KindName(list.kind));
    return read_.emplace(name, std::move(list)).first->second;
}

// The scale's own list of the kind, else the one for all the store's scales.
std::optional<std::string> Syncer::ListFor(const std::string& port, tables::ListKind kind) {
    for (const std::string& owner : {port, std::string(hub::kAllScales)}) {
        for (const std::string& name : hub::ListNamesFor(owner)) {
            const auto copy = state_.List(name);
            if (!copy) continue;
            const std::optional<tables::ListKind> named = KindOfFileName(Q(name));
            const std::string listKind = named                 ? KindName(*named)
                                         : !copy->kind.empty() ? copy->kind
                                                               : KindName(Read(name).kind);
            if (listKind == KindName(kind)) return name;
        }
    }
    return std::nullopt;
}

std::vector<Item> Syncer::ItemsToLoad(int& worst) {
    std::vector<Item> items;
    const auto now = std::chrono::steady_clock::now();
    for (const PortName& port : s_.ports) {
        for (const tables::ListKind kind : kKinds) {
            const std::optional<std::string> name = ListFor(port.name, kind);
            if (!name) continue;
            Item item;
            item.port = port.name;
            item.kind = kind;
            item.list = *name;
            item.copy = *state_.List(*name);
            const auto last = state_.LastAttempt(port.name, KindName(kind));
            const bool same = last && last->list == *name && last->sha256 == item.copy.sha256;
            if (same && (last->outcome == Outcome::Done || last->outcome == Outcome::BadList))
                continue;
            const auto retry = retries_.find(port.name + "." + KindName(kind));
            if (same && retry != retries_.end() && now < retry->second.due) continue;
            const ListFile& list = Read(*name);
            if (!list.Usable()) {
                std::vector<std::string> problems;
                if (!list.problem.empty()) problems.push_back(list.problem);
                for (const BadRow& bad : list.badRows) problems.push_back(BadRowText(bad));
                worst = Worst(worst, kBadFile);
                item.started = item.ended = QDateTime::currentDateTime();
                Settle(item, Outcome::BadList, kNothingSent, problems);
                continue;
            }
            item.file = &list;
            items.push_back(item);
        }
    }
    return items;
}

// Every port at once, each loading its items in turn; a port with none is only opened, so the
// status can say whether it opens.
std::vector<PortResult> Syncer::Load(std::vector<Item>& items) {
    std::vector<std::string> busy;
    for (const Item& item : items)
        if (busy.empty() || busy.back() != item.port) busy.push_back(item.port);
    output_.TrackPorts(busy);
    std::vector<PortResult> results =
        RunOnPorts(s_, output_, [&](const PortName& port, scale::Link& link) {
            for (Item& item : items) {
                if (item.port != port.name || StopRequested()) continue;
                item.started = QDateTime::currentDateTime();
                item.result =
                    item.kind == tables::ListKind::Plu
                        ? SendChangesToPort(Untrusted::Whole, port, link, *item.file, output_)
                        : SendToPort(port, link, *item.file, output_);
                item.ended = QDateTime::currentDateTime();
                item.ran = true;
            }
            // The items' own results say how each went; the port's says only that it opened.
            return PortResult{port.name, kDone, {}, {}, true};
        });
    output_.EndProgress();
    for (Item& item : items)
        for (const PortResult& r : results)
            if (r.port == item.port && !r.opened) {
                item.result = r;
                item.started = item.ended = QDateTime::currentDateTime();
            }
    return results;
}

void Syncer::Settle(const Item& item, Outcome outcome, const std::string& failure,
                    std::vector<std::string> problems) {
    hub::Receipt r;
    r.store = s_.store;
    r.port = item.port;
    r.kind = KindName(item.kind);
    r.listPath = hub::ListPath(s_.store, item.list);
    r.etag = item.copy.etag;
    r.sha256 = item.copy.sha256;
    r.outcome = outcome;
    r.holdsList = outcome == Outcome::Done;
    r.rowsSent = item.ran ? item.result.report.rowsDone : 0;
    r.rowsSkipped = item.ran ? std::max(0, item.result.skipped) : 0;
    r.failure = failure;
    // A port that did not open, and a list not sent, have no report of a row.
    r.failureRow = item.result.report.failure ? item.result.report.failure->row : 0;
    r.problems = std::move(problems);
    r.started = item.started;
    r.ended = item.ended;
    Deliver(r);
    state_.Record(item.port, r.kind, {item.list, item.copy.sha256, outcome});
    const std::string key = item.port + "." + r.kind;
    if (outcome == Outcome::Done || outcome == Outcome::BadList) {
        retries_.erase(key);
        return;
    }
    Retry& retry = retries_[key];
    const int delay = s_.RetryDelayMs(retry.count++);
    retry.due = std::chrono::steady_clock::now() + std::chrono::milliseconds(delay);
}

void Syncer::Deliver(const hub::Receipt& receipt) {
    const QByteArray body = hub::ReceiptJson(receipt);
    const bool delivered = hubProblem_.empty() && !keptWaiting_ &&
                           PutJson(hub::ReceiptPath(s_.store, receipt.port, receipt.kind), body);
    output_.Event({{"event", "receipt"},
                   {"port", Q(receipt.port)},
                   {"kind", Q(receipt.kind)},
                   {"outcome", hub::OutcomeName(receipt.outcome)},
                   {"delivered", delivered}});
    if (delivered) return;
    std::string problem;
    if (kept_.Add(receipt.port, receipt.kind, body, problem)) {
        keptWaiting_ = true;
        output_.Warn("Квитанция " + receipt.port + "." + receipt.kind +
                     " не передана на хаб: она сохранена и уйдёт при следующем обмене");
    } else {
        output_.Warn(problem);
    }
}

void Syncer::PutStatus(const std::vector<PortResult>& results) {
    if (!hubProblem_.empty()) return;
    std::vector<hub::PortStatus> ports;
    for (std::size_t i = 0; i < s_.ports.size(); ++i) {
        hub::PortStatus p;
        p.port = s_.ports[i].name;
        p.device = DeviceOf(s_.ports[i]);
        p.opened = results[i].opened;
        if (!p.opened) p.reason = WithoutPort(results[i].summary, p.port);
        // What needs attention is said before what went well.
        for (const tables::ListKind kind : kKinds) {
            const auto last = state_.LastAttempt(p.port, KindName(kind));
            if (last && (!p.outcome || *p.outcome == Outcome::Done)) p.outcome = last->outcome;
        }
        ports.push_back(p);
    }
    PutJson(hub::StatusPath(s_.store),
            hub::StatusJson(s_.store, QDateTime::currentDateTime(), ports));
}

bool Syncer::PutJson(const QString& path, const QByteArray& body) {
    const hub::Answer answer = client_.Put(path, body, QStringLiteral("application/json"));
    if (!answer.Ok()) hubProblem_ = answer.problem;
    return answer.Ok();
}

}  // namespace

int RunSync(const Settings& settings, Output& output) {
    hub::ClientOptions options;
    options.timeoutMs = settings.hubTimeoutMs;
    options.caFile = settings.caFile;
    if (!settings.credentialsFile.isEmpty()) {
        std::string problem;
        options.credentials = hub::ReadCredentials(settings.credentialsFile.toStdString(), problem);
        if (!options.credentials) return output.Fail(problem + ". " + kNothingSent, kUsage);
    }
    hub::HubClient client(QUrl(settings.hub), options);
    if (!client.SetupProblem().empty()) return output.Fail(client.SetupProblem(), kUsage);
    return Syncer(settings, output, client).Run();
}

}  // namespace cli
