// The serial platform over termios. Handles are file descriptors.

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <map>
#include <thread>

#include "Deadline.h"
#include "PortMap.h"
#include "SerialPlatform.h"

namespace serial {
namespace {

// Stands in for the driver's write time-out, which the component never sets: no write blocks
// for ever.
constexpr int kWriteTimeoutMs = 2000;

std::int32_t ErrorCodeOf(int err) {
    switch (err) {
        case ENOENT:
        case ENXIO:
        case ENODEV:
            return kErrorFileNotFound;
        case EACCES:
        case EPERM:
            return kErrorAccessDenied;
        case EBADF:
            return kErrorInvalidHandle;
        case EBUSY:
        case EWOULDBLOCK:
            return kErrorSharingViolation;
        case ENOTTY:
        case EOPNOTSUPP:
            return kErrorNotSupported;
        case EINVAL:
            return kErrorInvalidParameter;
        case EIO:
            return kErrorIoDevice;
        default:
            return kErrorGenFailure;
    }
}

struct BaudEntry {
    std::uint32_t rate;
    speed_t speed;
};
constexpr BaudEntry kBauds[] = {{110, B110},     {300, B300},     {1200, B1200},
                                {2400, B2400},   {4800, B4800},   {9600, B9600},
                                {38400, B38400}, {57600, B57600}, {115200, B115200}};

bool SpeedOf(std::uint32_t rate, speed_t& speed) {
    for (const auto& entry : kBauds)
        if (entry.rate == rate) {
            speed = entry.speed;
            return true;
        }
    return false;
}

std::uint32_t RateOf(speed_t speed) {
    for (const auto& entry : kBauds)
        if (entry.speed == speed) return entry.rate;
    return 0;
}

struct Device {
    termios saved{};
    bool lowLatencySet = false;  // by us: it was off before
    std::uint32_t eventMask = 0;
    serial_icounter_struct counts{};
    bool hasCounts = false;
    bool hasOutQueue = true;
};

class PosixPlatform : public SerialPlatform {
  public:
    PosixPlatform(std::string device, int readTimeoutMs)
        : device_(std::move(device)), readTimeoutMs_(readTimeoutMs) {}
    ~PosixPlatform() override {
        while (!devices_.empty()) CloseHandle(devices_.begin()->first);
    }

    Handle CreateFile(const std::string& name) override {
        const std::string path = device_.empty() ? ResolveComName(name) : device_;
        const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            Fail(errno);
            return kInvalidHandle;
        }
        // TIOCEXCL alone does not keep root out; the lock does.
        if (::ioctl(fd, TIOCEXCL) != 0) return RefuseOpen(fd, errno);
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return RefuseOpen(fd, EWOULDBLOCK);
        Device device;
        // A line left in its cooked mode would echo, translate and hold back the scale's bytes.
        if (::tcgetattr(fd, &device.saved) != 0) return RefuseOpen(fd, errno);
        if (!MakeRaw(fd, device.saved)) return RefuseOpen(fd, errno);
        device.hasCounts = ::ioctl(fd, TIOCGICOUNT, &device.counts) == 0;
        devices_[fd] = device;
        return fd;
    }

    // The device is closed and forgotten even when a step fails; the first failure is reported.
    bool CloseHandle(Handle h) override {
        auto it = devices_.find(h);
        if (it == devices_.end()) return Fail(EBADF);
        const termios saved = it->second.saved;
        devices_.erase(it);
        int failure = 0;
        if (::tcsetattr(Fd(h), TCSANOW, &saved) != 0) failure = errno;
        ::ioctl(Fd(h), TIOCNXCL);
        if (::close(Fd(h)) != 0 && failure == 0) failure = errno;
        return failure == 0 || Fail(failure);
    }

    bool SetupComm(Handle h, std::uint32_t, std::uint32_t) override { return Known(h); }

    bool GetCommState(Handle h, Dcb& dcb) override {
        termios t{};
        if (!Known(h)) return false;
        if (::tcgetattr(Fd(h), &t) != 0) return Fail(errno);
        dcb = DcbOf(t);
        return true;
    }

    bool SetCommState(Handle h, const Dcb& dcb) override {
        termios t{};
        if (!Known(h)) return false;
        if (::tcgetattr(Fd(h), &t) != 0) return Fail(errno);
        if (!ApplyDcb(dcb, t)) return Fail(EINVAL);
        return ::tcsetattr(Fd(h), TCSANOW, &t) == 0 || Fail(errno);
    }

    bool ReadFile(Handle h, std::uint8_t* buffer, std::uint32_t count,
                  std::uint32_t& read) override {
        read = 0;
        if (!Known(h)) return false;
        const Deadline deadline(readTimeoutMs_);
        while (read < count) {
            const ssize_t n = ::read(Fd(h), buffer + read, count - read);
            if (n > 0) {
                read += static_cast<std::uint32_t>(n);
                continue;
            }
            // Raw mode with VMIN 0 reads 0 when nothing waits; EAGAIN means the same.
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno != EAGAIN) return Fail(errno);
            if (!AwaitReady(h, POLLIN, deadline)) break;
        }
        return true;
    }

    bool WriteFile(Handle h, const std::uint8_t* data, std::uint32_t count,
                   std::uint32_t& written) override {
        written = 0;
        if (!Known(h)) return false;
        const Deadline deadline(kWriteTimeoutMs);
        while (written < count) {
            const ssize_t n = ::write(Fd(h), data + written, count - written);
            if (n > 0) {
                written += static_cast<std::uint32_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno != EAGAIN) return Fail(errno);
            if (!AwaitReady(h, POLLOUT, deadline)) return Fail(ETIMEDOUT);
        }
        return true;
    }

    bool ClearCommError(Handle h, std::uint32_t& errors, ComStat& stat) override {
        errors = 0;
        if (!Known(h)) return false;
        int in = 0;
        int out = 0;
        if (::ioctl(Fd(h), FIONREAD, &in) != 0) return Fail(errno);
        // A pseudo-terminal keeps no output queue count; it then stays 0, and is not asked
        // again on every poll of the input.
        Device& device = devices_[h];
        if (device.hasOutQueue && ::ioctl(Fd(h), TIOCOUTQ, &out) != 0) {
            device.hasOutQueue = false;
            out = 0;
        }
        stat.cbInQue = static_cast<std::uint32_t>(in);
        stat.cbOutQue = static_cast<std::uint32_t>(out);
        errors = LineErrors(device, Fd(h));
        stat.Flags = 0;
        return true;
    }

    bool EscapeCommFunction(Handle h, std::int32_t code) override {
        if (!Known(h)) return false;
        // A modem line raised (TIOCMBIS) or dropped (TIOCMBIC).
        const auto line = [&](unsigned long request, int bits) {
            return ::ioctl(Fd(h), request, &bits) == 0 || Fail(errno);
        };
        switch (code) {
            case kSetXoff:
                return ::tcflow(Fd(h), TCOOFF) == 0 || Fail(errno);
            case kSetXon:
                return ::tcflow(Fd(h), TCOON) == 0 || Fail(errno);
            case kSetRts:
                return line(TIOCMBIS, TIOCM_RTS);
            case kClrRts:
                return line(TIOCMBIC, TIOCM_RTS);
            case kSetDtr:
                return line(TIOCMBIS, TIOCM_DTR);
            case kClrDtr:
                return line(TIOCMBIC, TIOCM_DTR);
            default:
                return Fail(EINVAL);
        }
    }

    bool SetCommMask(Handle h, std::uint32_t mask) override {
        if (!Known(h)) return false;
        devices_[h].eventMask = mask;
        return true;
    }

    bool GetCommMask(Handle h, std::uint32_t& mask) override {
        if (!Known(h)) return false;
        mask = devices_[h].eventMask;
        return true;
    }

    bool WaitForInput(Handle h, int timeoutMs) override {
        if (!Known(h)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
            return false;
        }
        const Deadline deadline(timeoutMs);
        pollfd p{Fd(h), POLLIN, 0};
        const int n = ::poll(&p, 1, timeoutMs);
        if (n > 0 && (p.revents & POLLIN)) return true;
        // A hung-up line reports at once; wait out the time all the same so callers never spin.
        std::this_thread::sleep_for(std::chrono::milliseconds(deadline.RemainingMs()));
        return false;
    }

    // The FTDI driver, among others, then sets its latency timer to 1 ms. A pseudo-terminal or
    // a driver without the ioctl refuses, and errno is all that changes.
    bool AskLowLatency(Handle h) override {
        auto it = devices_.find(h);
        if (it == devices_.end()) return false;
        serial_struct s{};
        if (::ioctl(Fd(h), TIOCGSERIAL, &s) != 0) return false;
        if (s.flags & ASYNC_LOW_LATENCY) return true;
        s.flags |= ASYNC_LOW_LATENCY;
        if (::ioctl(Fd(h), TIOCSSERIAL, &s) != 0) return false;
        it->second.lowLatencySet = true;
        return true;
    }

    void RestoreLatency(Handle h) override {
        auto it = devices_.find(h);
        if (it == devices_.end() || !it->second.lowLatencySet) return;
        it->second.lowLatencySet = false;
        serial_struct s{};
        if (::ioctl(Fd(h), TIOCGSERIAL, &s) != 0) return;
        s.flags &= ~ASYNC_LOW_LATENCY;
        ::ioctl(Fd(h), TIOCSSERIAL, &s);
    }

    std::int32_t GetLastError() override { return last_; }

  private:
    std::string device_;
    int readTimeoutMs_;
    std::map<Handle, Device> devices_;
    std::int32_t last_ = 0;

    static int Fd(Handle h) { return static_cast<int>(h); }

    bool Fail(int err) {
        last_ = ErrorCodeOf(err);
        return false;
    }

    bool Known(Handle h) {
        if (devices_.count(h)) return true;
        last_ = kErrorInvalidHandle;
        return false;
    }

    bool AwaitReady(Handle h, short events, const Deadline& deadline) {
        const int left = deadline.RemainingMs();
        if (left == 0) return false;
        pollfd p{Fd(h), events, 0};
        const int n = ::poll(&p, 1, left);
        if (n <= 0) return false;
        // A hung-up line stays "ready" for ever while reads give nothing: stop waiting on it.
        if ((events & POLLIN) && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) return false;
        if (p.revents & events) return true;
        // Writing to a line in error: the next write reports it.
        return (p.revents & (POLLHUP | POLLERR)) != 0;
    }

    static bool MakeRaw(int fd, const termios& base) {
        termios t = base;
        ::cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        t.c_cc[VMIN] = 0;
        t.c_cc[VTIME] = 0;
        return ::tcsetattr(fd, TCSANOW, &t) == 0;
    }

    Handle RefuseOpen(int fd, int err) {
        ::close(fd);
        Fail(err);
        return kInvalidHandle;
    }

    static Dcb DcbOf(const termios& t) {
        Dcb dcb;
        dcb.BaudRate = RateOf(::cfgetospeed(&t));
        const tcflag_t size = t.c_cflag & CSIZE;
        dcb.ByteSize = size == CS5 ? 5 : size == CS6 ? 6 : size == CS7 ? 7 : 8;
        dcb.Parity = ParityOf(t.c_cflag);
        dcb.StopBits = (t.c_cflag & CSTOPB) ? 2 : 0;
        dcb.Flags = kFBinary;
        if (t.c_iflag & INPCK) dcb.Flags |= kFParity;
        if (t.c_cflag & CRTSCTS) dcb.Flags |= kFOutxCtsFlow;
        if (t.c_iflag & IXON) dcb.Flags |= kFOutX;
        if (t.c_iflag & IXOFF) dcb.Flags |= kFInX;
        dcb.XonChar = static_cast<char>(t.c_cc[VSTART]);
        dcb.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
        return dcb;
    }

    static std::uint8_t ParityOf(tcflag_t cflag) {
        if (!(cflag & PARENB)) return 0;
        if (cflag & CMSPAR) return (cflag & PARODD) ? 3 : 4;
        return (cflag & PARODD) ? 1 : 2;
    }

    static bool ApplyDcb(const Dcb& dcb, termios& t) {
        speed_t speed;
        if (!SpeedOf(dcb.BaudRate, speed)) return false;
        ::cfsetispeed(&t, speed);
        ::cfsetospeed(&t, speed);
        return ApplyByteSize(dcb.ByteSize, t) && ApplyParity(dcb.Parity, t) &&
               ApplyStopBits(dcb.StopBits, t) && (ApplyFlow(dcb, t), true);
    }

    static bool ApplyByteSize(std::uint8_t size, termios& t) {
        static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
        if (size < 5 || size > 8) return false;
        t.c_cflag = (t.c_cflag & ~CSIZE) | kSizes[size - 5];
        return true;
    }

    static bool ApplyParity(std::uint8_t parity, termios& t) {
        if (parity > 4) return false;
        t.c_cflag &= ~(PARENB | PARODD | CMSPAR);
        if (parity == 0) return true;
        t.c_cflag |= PARENB;
        if (parity == 1 || parity == 3) t.c_cflag |= PARODD;
        if (parity >= 3) t.c_cflag |= CMSPAR;
        return true;
    }

    static bool ApplyStopBits(std::uint8_t stopBits, termios& t) {
        // One and a half stop bits exist only with five data bits, which termios gives for CSTOPB.
        if (stopBits == 1 && (t.c_cflag & CSIZE) != CS5) return false;
        if (stopBits > 2) return false;
        if (stopBits == 0)
            t.c_cflag &= ~CSTOPB;
        else
            t.c_cflag |= CSTOPB;
        return true;
    }

    static void ApplyFlow(const Dcb& dcb, termios& t) {
        t.c_iflag &= ~(IXON | IXOFF);
        if (dcb.Flags & kFOutX) t.c_iflag |= IXON;
        if (dcb.Flags & kFInX) t.c_iflag |= IXOFF;
        t.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
        t.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
    }

    static std::uint32_t LineErrors(Device& device, int fd) {
        if (!device.hasCounts) return 0;
        serial_icounter_struct now{};
        if (::ioctl(fd, TIOCGICOUNT, &now) != 0) return 0;
        std::uint32_t errors = 0;
        if (now.frame != device.counts.frame) errors |= kCeFrame;
        if (now.overrun != device.counts.overrun) errors |= kCeOverrun;
        if (now.parity != device.counts.parity) errors |= kCeRxParity;
        if (now.brk != device.counts.brk) errors |= kCeBreak;
        if (now.buf_overrun != device.counts.buf_overrun) errors |= kCeRxOver;
        device.counts = now;
        return errors;
    }
};

}  // namespace

std::unique_ptr<SerialPlatform> MakePosixPlatform(int readTimeoutMs) {
    return std::make_unique<PosixPlatform>(std::string(), readTimeoutMs);
}

std::unique_ptr<SerialPlatform> MakePosixPlatform(const std::string& device, int readTimeoutMs) {
    return std::make_unique<PosixPlatform>(device, readTimeoutMs);
}

}  // namespace serial
