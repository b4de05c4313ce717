#pragma once
// A folder as a queue of list files (*.plu, *.msg): a file joins once it is whole, closed after
// writing or moved in, and the queue keeps the order in which files became whole.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace cli {

class FolderQueue {
  public:
    struct Entry {
        std::string name;  // in the folder, without a path
        std::uint64_t arrival = 0;
        bool found = false;    // queued by a look at the folder, not by its close or move
        bool writing = false;  // found while a program still writes it; waits for its close
        bool operator==(const Entry& other) const { return arrival == other.arrival; }
    };

    FolderQueue() = default;
    ~FolderQueue();
    FolderQueue(const FolderQueue&) = delete;
    FolderQueue& operator=(const FolderQueue&) = delete;

    // Starts watching, then queues the files already there, oldest modification first. On
    // failure: false and why, in the user's words.
    bool Open(const std::string& dir, std::string& problem);
    const std::string& Dir() const { return dir_; }
    std::string PathOf(const Entry& entry) const { return dir_ + "/" + entry.name; }

    // The file to take now. A file found in the folder that a program still writes stays at the
    // head, and the files after it wait, until its close; any other file still open for writing
    // leaves the queue, and its close brings it back as a new arrival.
    std::optional<Entry> Next();
    // The head that waits for its writer's close, if any.
    std::optional<Entry> Writing() const;
    // False once the entry left: the file was removed, or written or moved in again, which
    // queued it anew behind the others.
    bool Holds(const Entry& entry) const;
    void Remove(const Entry& entry);

    // Waits up to timeoutMs (-1: no limit) for the folder to change or wakeFd to be readable,
    // and takes in what changed. False once the folder itself is gone.
    bool Wait(int timeoutMs, int wakeFd);

  private:
    void ReadEvents();
    void Arrived(const std::string& name);
    void Left(const std::string& name);
    void Rescan();
    std::string dir_;
    int inotify_ = -1;
    bool gone_ = false;
    std::uint64_t arrivals_ = 0;
    std::deque<Entry> queue_;
};

}  // namespace cli
