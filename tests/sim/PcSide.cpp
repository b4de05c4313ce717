#include "PcSide.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

PcSide::PcSide(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    if (fd_ < 0) throw std::runtime_error("cannot open " + path);
    termios t{};
    tcgetattr(fd_, &t);
    cfmakeraw(&t);
    tcsetattr(fd_, TCSANOW, &t);
}

PcSide::~PcSide() {
    close(fd_);
}

void PcSide::Send(const sim::Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw std::runtime_error("write failed");
        done += std::size_t(n);
    }
}

sim::Bytes PcSide::Read(std::size_t count, std::chrono::milliseconds timeout) {
    sim::Bytes got;
    while (got.size() < count) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, int(timeout.count())) <= 0) break;
        std::uint8_t buf[512];
        const ssize_t n = read(fd_, buf, std::min(sizeof buf, count - got.size()));
        if (n <= 0) {
            hangUp_ = n == 0 ? 0 : errno;
            break;
        }
        got.insert(got.end(), buf, buf + n);
    }
    return got;
}

sim::Bytes PcSide::Ask(const sim::Bytes& bytes, std::size_t count) {
    Send(bytes);
    return Read(count);
}

bool PcSide::Quiet(std::chrono::milliseconds wait) {
    return Read(1, wait).empty();
}

sim::Bytes Concat(std::initializer_list<sim::Bytes> parts) {
    sim::Bytes all;
    for (const sim::Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

sim::Bytes Repeat(std::uint8_t byte, std::size_t count) {
    return sim::Bytes(count, byte);
}
