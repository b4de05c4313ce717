#pragma once
// A file that can be neither replaced nor removed, standing in for a state folder gone read-only
// (a read-only mount cannot be made where the tests run). Root, whom permissions do not stop,
// gets an immutable file; anyone else a folder without write permission.

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

class FrozenFile {
  public:
    explicit FrozenFile(std::string path) : path_(std::move(path)) { frozen_ = Set(true); }
    ~FrozenFile() {
        if (frozen_) Set(false);
    }
    FrozenFile(const FrozenFile&) = delete;
    FrozenFile& operator=(const FrozenFile&) = delete;

    bool Frozen() const { return frozen_; }

  private:
    bool Set(bool on) {
        if (::geteuid() != 0) {
            const std::string folder = std::filesystem::path(path_).parent_path().string();
            return ::chmod(folder.c_str(), on ? 0555 : 0755) == 0;
        }
        const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return false;
        int flags = 0;
        bool set = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        set = set && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return set;
    }

    std::string path_;
    bool frozen_ = false;
};
