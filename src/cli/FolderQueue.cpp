#include "FolderQueue.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <tuple>
#include <vector>

#include "ListFile.h"

namespace cli {

namespace {

constexpr std::uint32_t kWatched = IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM |
                                   IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

// A name the queue takes: *.plu or *.msg, whatever the case, and not hidden.
bool IsListName(const std::string& name) {
    return !name.empty() && name[0] != '.' && KindOfFileName(QString::fromStdString(name));
}

// A read lease is refused with EAGAIN while anyone has the file open for writing, whichever user
// it is; a scan of /proc would see only this user's processes and cost a walk of every one.
// Where leases do not work (not the file's owner without CAP_LEASE, a network filesystem) the
// file counts as whole, as its close event may never come.
bool OpenForWriting(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno == EWOULDBLOCK;  // a write lease elsewhere: a writer is coming
    const bool writing = ::fcntl(fd, F_SETLEASE, F_RDLCK) != 0 && errno == EAGAIN;
    // Released at once: a writer that opens the file now must not wait on us.
    ::fcntl(fd, F_SETLEASE, F_UNLCK);
    ::close(fd);
    return writing;
}

struct Found {
    std::string name;
    struct timespec modified {};
};

// The list files in the folder, oldest modification first; the name settles a tie.
std::vector<Found> ListFilesIn(const std::string& dir) {
    std::vector<Found> found;
    DIR* folder = ::opendir(dir.c_str());
    if (!folder) return found;
    while (const dirent* e = ::readdir(folder)) {
        struct stat st {};
        if (!IsListName(e->d_name) || ::stat((dir + "/" + e->d_name).c_str(), &st) != 0 ||
            !S_ISREG(st.st_mode))
            continue;
        found.push_back({e->d_name, st.st_mtim});
    }
    ::closedir(folder);
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return std::tie(a.modified.tv_sec, a.modified.tv_nsec, a.name) <
               std::tie(b.modified.tv_sec, b.modified.tv_nsec, b.name);
    });
    return found;
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

FolderQueue::~FolderQueue() {
    if (inotify_ >= 0) ::close(inotify_);
}

bool FolderQueue::Open(const std::string& dir, std::string& problem) {
    dir_ = dir;
    inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    // The watch comes first, so a file finished during the scan is not missed.
    if (inotify_ < 0 || ::inotify_add_watch(inotify_, dir.c_str(), kWatched) < 0) {
        problem = "Папку " + dir + " нельзя отслеживать: " + std::strerror(errno);
        return false;
    }
    Rescan();
    return true;
}

std::optional<FolderQueue::Entry> FolderQueue::Next() {
    ReadEvents();
    while (!queue_.empty()) {
        Entry& head = queue_.front();
        const std::string path = PathOf(head);
        if (IsRegularFile(path)) {
            if (!OpenForWriting(path)) return head;
            // Its place is its age, as the files found with it have theirs: a newer list behind
            // it must not go first and be overwritten by it.
            if (head.found) {
                head.writing = true;
                return std::nullopt;
            }
        }
        queue_.pop_front();
    }
    return std::nullopt;
}

std::optional<FolderQueue::Entry> FolderQueue::Writing() const {
    if (queue_.empty() || !queue_.front().writing) return std::nullopt;
    return queue_.front();
}

bool FolderQueue::Holds(const Entry& entry) const {
    return std::find(queue_.begin(), queue_.end(), entry) != queue_.end();
}

void FolderQueue::Remove(const Entry& entry) {
    queue_.erase(std::remove(queue_.begin(), queue_.end(), entry), queue_.end());
}

bool FolderQueue::Wait(int timeoutMs, int wakeFd) {
    if (gone_) return false;
    pollfd fds[] = {{inotify_, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    // EINTR is a signal: the caller looks at the stop flag either way.
    ::poll(fds, 2, timeoutMs);
    ReadEvents();
    return !gone_;
}

void FolderQueue::ReadEvents() {
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t got = ::read(inotify_, buffer, sizeof buffer);
        if (got <= 0) return;
        for (ssize_t at = 0; at < got;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            if (e->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) gone_ = true;
            if (e->mask & IN_Q_OVERFLOW) Rescan();
            if (e->len == 0 || (e->mask & IN_ISDIR) || !IsListName(e->name)) continue;
            if (e->mask & (IN_CLOSE_WRITE | IN_MOVED_TO)) Arrived(e->name);
            if (e->mask & (IN_DELETE | IN_MOVED_FROM)) Left(e->name);
        }
    }
}

// A file written again is a newer list: it goes behind the files that came before it.
void FolderQueue::Arrived(const std::string& name) {
    const auto waiting = std::find_if(queue_.begin(), queue_.end(),
                                      [&](const Entry& e) { return e.name == name && e.writing; });
    if (waiting != queue_.end()) {
        // The close it waited for: it keeps its place.
        waiting->writing = false;
        waiting->found = false;
        return;
    }
    Left(name);
    queue_.push_back({name, ++arrivals_});
}

void FolderQueue::Left(const std::string& name) {
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                                [&](const Entry& e) { return e.name == name; }),
                 queue_.end());
}

// Events were lost: whatever is in the folder and not queued joins, oldest first.
void FolderQueue::Rescan() {
    for (const Found& f : ListFilesIn(dir_)) {
        const bool queued = std::any_of(queue_.begin(), queue_.end(),
                                        [&](const Entry& e) { return e.name == f.name; });
        if (!queued) queue_.push_back({f.name, ++arrivals_, true});
    }
}

}  // namespace cli
