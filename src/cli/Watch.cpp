#include "Watch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QJsonArray>
#include <cerrno>

#include "AtomicFile.h"
#include "Commands.h"
#include "Deadline.h"
#include "ExitCode.h"
#include "FolderQueue.h"
#include "Runs.h"
#include "StopSignal.h"

namespace cli {

namespace {

using Entry = FolderQueue::Entry;

// What became of a file's turn.
enum class Flow { Go, FileLeft, Stop, FolderGone };

// What happened to one file, for the .log that goes with it.
struct FileLog {
    void Add(const std::string& line) { text += jobs::LocalTimeNow() + " " + line + "\n"; }
    std::string text;
};

// The scale was not reached at all: the port did not open, or the first record got no answer.
// Nothing was stored, and a later try may find the scale switched on or plugged in.
bool Unreached(const PortResult& r) {
    if (r.exitCode == kNoPort) return true;
    const auto& failure = r.report.failure;
    return r.exitCode == kLinkFailed && r.report.rowsDone == 0 && failure && failure->row == 1;
}

// name.plu, then name-2.plu, name-3.plu: the extension stays, so the file can be put back.
std::string Numbered(const std::string& name, int n) {
    if (n == 1) return name;
    const std::size_t dot = name.rfind('.');
    const std::string tag = "-" + std::to_string(n);
    return dot == std::string::npos ? name + tag : name.substr(0, dot) + tag + name.substr(dot);
}

// The file into the folder under a name not yet taken there: the new path, or nothing and why.
std::optional<std::string> MoveInto(const std::string& from, const std::string& folder,
                                    const std::string& name, std::string& problem) {
    for (int n = 1; n < 10'000; ++n) {
        const std::string to = folder + "/" + Numbered(name, n);
        int moved = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE);
        // A filesystem without RENAME_NOREPLACE: look first, rename after.
        if (moved != 0 && errno == EINVAL)
            moved = ::access(to.c_str(), F_OK) == 0 ? (errno = EEXIST, -1)
                                                    : ::rename(from.c_str(), to.c_str());
        if (moved == 0) return to;
        if (errno != EEXIST) break;
    }
    problem = tables::WriteFailureCause(errno, Q(folder + "/" + name)).toStdString();
    return std::nullopt;
}

bool MakeFolder(const std::string& path, std::string& problem) {
    if (::mkdir(path.c_str(), 0777) == 0) return true;
    const int cause = errno;
    struct stat st {};
    const bool exists = cause == EEXIST && ::stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return true;
    problem = "Папка " + path + " не создаётся: " +
              (exists ? "под этим именем лежит файл"
                      : tables::WriteFailureCause(cause, Q(path)).toStdString());
    return false;
}

// The wait before a retry in the user's words: "30 с", "0,2 с", "5 мин".
std::string DelayText(int ms) {
    if (ms >= 60'000 && ms % 60'000 == 0) return std::to_string(ms / 60'000) + " мин";
    if (ms % 1000 == 0) return std::to_string(ms / 1000) + " с";
    return Decimal(ms / 1000.0) + " с";
}

class Watcher {
  public:
    Watcher(const Settings& settings, Output& output) : settings_(settings), output_(output) {}
    int Run();

  private:
    Flow Take(const Entry& entry);
    Flow SendWithRetries(const Entry& entry, const ListFile& list, FileLog& log, int& worst);
    void AnnounceRetry(const Entry& entry, const std::vector<PortResult>& unreached, int delay,
                       std::size_t retry, FileLog& log);
    Flow WaitOut(int ms, const Entry& entry);
    void Settle(const Entry& entry, const std::string& folder, int worst, FileLog& log);

    void SayWriting();

    const Settings& settings_;
    Output& output_;
    FolderQueue queue_;
    std::uint64_t saidWriting_ = 0;  // the arrival of the head last said to be written
};

int Watcher::Run() {
    const std::string dir = settings_.file.toStdString();
    std::string problem;
    if (!queue_.Open(dir, problem) || !MakeFolder(dir + "/done", problem) ||
        !MakeFolder(dir + "/failed", problem))
        return output_.Fail(problem, kBadFile);
    output_.Say("Жду файлы списков в папке " + dir);
    for (;;) {
        if (StopRequested()) return kStopped;
        const std::optional<Entry> entry = queue_.Next();
        Flow flow = Flow::Go;
        if (entry) {
            flow = Take(*entry);
        } else {
            SayWriting();
            if (!queue_.Wait(-1, StopWakeFd())) flow = Flow::FolderGone;
        }
        if (flow == Flow::Stop) return kStopped;
        if (flow == Flow::FolderGone)
            return output_.Fail("Папка " + dir + " удалена или перенесена: ждать файлы негде",
                                kBadFile);
    }
}

// Once for each file that holds the queue while it is written.
void Watcher::SayWriting() {
    const std::optional<Entry> writing = queue_.Writing();
    if (!writing || writing->arrival == saidWriting_) return;
    saidWriting_ = writing->arrival;
    output_.Say("Файл " + writing->name +
                " ещё записывается: жду, пока его закроют; следующие файлы ждут за ним");
}

Flow Watcher::Take(const Entry& entry) {
    const QString path = Q(queue_.PathOf(entry));
    // The queue takes only names that give a kind.
    const tables::ListKind kind = *KindToSend(settings_, path);
    output_.Event({{"event", "file-start"}, {"file", path}, {"kind", KindName(kind)}});
    output_.Say("Файл " + entry.name + ": передаю в весы");
    FileLog log;
    log.Add("Файл " + entry.name + ": " + KindText(kind));
    ListFile list;
    if (ReadList(path, kind, settings_.import, kNothingSent, output_, list) != kDone) {
        if (!list.problem.empty()) log.Add(list.problem);
        for (const BadRow& bad : list.badRows) log.Add(BadRowText(bad));
        log.Add(kNothingSent);
        Settle(entry, "failed", kBadFile, log);
        return Flow::Go;
    }
    int worst = kDone;
    const Flow sent = SendWithRetries(entry, list, log, worst);
    if (sent != Flow::Go) return sent;
    // Written or moved in again while it was sent: the newer list goes in its own turn, and
    // this one must not carry it off to done/ unsent.
    queue_.Wait(0, -1);
    if (!queue_.Holds(entry)) return Flow::FileLeft;
    Settle(entry, worst == kDone ? "done" : "failed", worst, log);
    return Flow::Go;
}

Flow Watcher::SendWithRetries(const Entry& entry, const ListFile& list, FileLog& log, int& worst) {
    Settings now = settings_;
    for (std::size_t retry = 0;; ++retry) {
        const std::vector<PortResult> results = SendList(now, list, output_);
        Summarize(results, output_);
        std::vector<PortResult> unreached;
        std::vector<PortName> pending;
        for (std::size_t i = 0; i < results.size(); ++i) {
            log.Add(results[i].summary);
            if (results[i].report.stopped) return Flow::Stop;
            if (Unreached(results[i])) {
                unreached.push_back(results[i]);
                pending.push_back(now.ports[i]);
            } else {
                worst = Worst(worst, results[i].exitCode);
            }
        }
        if (pending.empty()) return Flow::Go;
        // Only the scales that did not take the file get it again.
        now.ports = pending;
        const int delay = settings_.RetryDelayMs(retry);
        AnnounceRetry(entry, unreached, delay, retry, log);
        const Flow waited = WaitOut(delay, entry);
        if (waited != Flow::Go) return waited;
    }
}

void Watcher::AnnounceRetry(const Entry& entry, const std::vector<PortResult>& unreached, int delay,
                            std::size_t retry, FileLog& log) {
    QJsonArray ports;
    for (const PortResult& r : unreached) {
        const std::string why = r.exitCode == kNoPort ? "порт не открывается" : "весы не отвечают";
        const std::string line = r.port + ": " + why + ", повтор через " + DelayText(delay);
        output_.Warn(line);
        log.Add(line);
        ports.append(Q(r.port));
    }
    output_.Event({{"event", "retry-wait"},
                   {"file", Q(queue_.PathOf(entry))},
                   {"ports", ports},
                   {"delay_ms", delay},
                   {"retry", static_cast<int>(retry) + 1}});
}

// Sleeps in poll(): new files are queued meanwhile, a signal ends the wait at once.
Flow Watcher::WaitOut(int ms, const Entry& entry) {
    const serial::Deadline deadline(ms);
    for (;;) {
        if (StopRequested()) return Flow::Stop;
        if (deadline.Expired()) return Flow::Go;
        if (!queue_.Wait(deadline.RemainingMs(), StopWakeFd())) return Flow::FolderGone;
        if (!queue_.Holds(entry)) return Flow::FileLeft;
    }
}

void Watcher::Settle(const Entry& entry, const std::string& folder, int worst, FileLog& log) {
    queue_.Remove(entry);
    const std::string from = queue_.PathOf(entry);
    std::string problem;
    const std::optional<std::string> to =
        MoveInto(from, queue_.Dir() + "/" + folder, entry.name, problem);
    if (!to) {
        output_.Warn("Файл " + entry.name + " не перенесён в " + folder + "/: " + problem +
                     "; после перезапуска он будет передан снова");
        return;
    }
    const std::string moved = folder + "/" + to->substr(to->rfind('/') + 1);
    log.Add("Файл перенесён в " + moved);
    QString error;
    const QString logPath = Q(*to + ".log");
    const auto text = [&log] { return log.text; };
    if (!tables::WriteFileWhole(logPath, text, error))
        output_.Warn("Файл " + logPath.toStdString() + " не записан: " + error.toStdString());
    output_.Event({{"event", "file-end"},
                   {"file", Q(from)},
                   {"to", Q(folder)},
                   {"path", Q(*to)},
                   {"log", logPath},
                   {"exit_code", worst}});
    const std::string line = "Файл " + entry.name + " перенесён в " + moved;
    output_.SayOrWarn(worst == kDone, line);
}

}  // namespace

int RunWatch(const Settings& settings, Output& output) {
    return Watcher(settings, output).Run();
}

}  // namespace cli
