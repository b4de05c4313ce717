#include "PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "PortMap.h"

PtyPair::PtyPair(const std::string& comName) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        throw std::runtime_error("cannot open a pseudo-terminal");
    slavePath_ = ptsname(master_);
    termios t{};
    tcgetattr(master_, &t);
    cfmakeraw(&t);
    tcsetattr(master_, TCSANOW, &t);
    // Held open so that the component closing its side does not hang the line up.
    slaveKeeper_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    tcgetattr(slaveKeeper_, &t);
    cfmakeraw(&t);
    tcsetattr(slaveKeeper_, TCSANOW, &t);
    std::filesystem::create_directories(serial::PortMapDir());
    link_ = serial::PortMapDir() + "/" + comName;
    std::filesystem::remove(link_);
    std::filesystem::create_symlink(slavePath_, link_);
}

PtyPair::~PtyPair() {
    std::error_code ignored;
    std::filesystem::remove(link_, ignored);
    if (slaveKeeper_ >= 0) ::close(slaveKeeper_);
    if (master_ >= 0) ::close(master_);
}

void PtyPair::HangUp() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
}

void PtyPair::Write(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n <= 0) throw std::runtime_error("write to the pseudo-terminal failed");
        done += static_cast<std::size_t>(n);
    }
}

std::vector<std::uint8_t> PtyPair::Read(std::size_t count, int timeoutMs) {
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < count) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) break;
        std::uint8_t buffer[512];
        const ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, count - bytes.size()));
        if (n <= 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}
