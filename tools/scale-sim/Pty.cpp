#include "Pty.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

namespace sim {

namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void SetRaw(int fd, const std::string& name) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) Fail("tcgetattr " + name);
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    if (tcsetattr(fd, TCSANOW, &t) != 0) Fail("tcsetattr " + name);
}

}  // namespace

LineDevice::LineDevice(LineDevice&& o) noexcept
    : fd(std::exchange(o.fd, -1)),
      keepOpenFd(std::exchange(o.keepOpenFd, -1)),
      pcPath(std::move(o.pcPath)) {}

LineDevice& LineDevice::operator=(LineDevice&& o) noexcept {
    if (this != &o) {
        Close();
        fd = std::exchange(o.fd, -1);
        keepOpenFd = std::exchange(o.keepOpenFd, -1);
        pcPath = std::move(o.pcPath);
    }
    return *this;
}

LineDevice::~LineDevice() {
    Close();
}

void LineDevice::Close(bool fdClosed) {
    if (fd >= 0 && !fdClosed) close(fd);
    if (keepOpenFd >= 0) close(keepOpenFd);
    fd = keepOpenFd = -1;
}

LineDevice OpenPseudoTerminal() {
    LineDevice d;
    d.fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (d.fd < 0) Fail("posix_openpt");
    if (grantpt(d.fd) != 0 || unlockpt(d.fd) != 0) Fail("unlockpt");
    char name[128];
    if (ptsname_r(d.fd, name, sizeof name) != 0) Fail("ptsname");
    d.pcPath = name;
    d.keepOpenFd = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (d.keepOpenFd < 0) Fail("open " + d.pcPath);
    // Raw from the start: a PC that opens the device without setting it up gets no echo.
    SetRaw(d.keepOpenFd, d.pcPath);
    return d;
}

LineDevice OpenSerialDevice(const std::string& path) {
    LineDevice d;
    d.fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (d.fd < 0) Fail("open " + path);
    if (ioctl(d.fd, TIOCEXCL) != 0 || flock(d.fd, LOCK_EX | LOCK_NB) != 0)
        Fail(path + " is in use");
    SetRaw(d.fd, path);
    return d;
}

}  // namespace sim
