#include "Line.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace sim {

namespace {

constexpr int kBitsPerByte = 10;  // start bit, eight data bits, stop bit
// A full-speed USB packet carries this many of the line's bytes besides the adapter's two
// status bytes; a full one goes to the PC at once, whatever the latency timer.
constexpr std::size_t kUsbPacketBytes = 62;

int PollMs(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long long>(0, std::min<long long>(left.count(), 1 << 30)));
}

}  // namespace

Line::Line(int fd, int baud, int stopFd, int peerFd, Clock::duration usbLatency)
    : fd_(fd), stopFd_(stopFd), peerFd_(peerFd), usbLatency_(usbLatency) {
    if (baud > 0)
        byteTime_ = std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(double(kBitsPerByte) / baud));
}

bool Line::SleepUntil(Clock::time_point when) {
    pollfd stop{stopFd_, POLLIN, 0};
    while (Clock::now() < when) {
        const auto left = when - Clock::now();
        if (left > std::chrono::milliseconds(2)) {
            // Coarse wait that still notices a stop; the last stretch is slept precisely.
            if (poll(&stop, 1, PollMs(when - std::chrono::milliseconds(1))) > 0) return false;
        } else {
            timespec ts{0, static_cast<long>(
                               std::chrono::duration_cast<std::chrono::nanoseconds>(left).count())};
            nanosleep(&ts, nullptr);
        }
    }
    return true;
}

Line::Result Line::Fill(Clock::time_point deadline) {
    for (;;) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
        const int n = poll(fds, 2, PollMs(deadline));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Result::Closed;
        if (fds[1].revents) return Result::Stopped;
        if (n == 0) return Clock::now() >= deadline ? Result::Timeout : Result::Ok;
        std::uint8_t buf[512];
        const ssize_t got = read(fd_, buf, sizeof buf);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) return Result::Closed;
        const auto now = Clock::now();
        for (ssize_t i = 0; i < got; ++i) arrived_.push_back({buf[i], now});
        return Result::Ok;
    }
}

Line::Result Line::Read(std::uint8_t& byte, Clock::duration timeout) {
    if (fd_ < 0) return Result::Closed;
    // The answer is complete once the scale listens again: the PC gets it when the timer runs out.
    if (const Result r = Release(); r != Result::Ok) return r;
    const auto deadline = Clock::now() + timeout;
    while (arrived_.empty()) {
        const Result r = Fill(deadline);
        if (r != Result::Ok) return r;
    }
    inBurst_ = false;
    const Arrived a = arrived_.front();
    arrived_.pop_front();
    if (answered_ && onTurnaround_) onTurnaround_(std::max(a.at - lastSent_, Clock::duration(0)));
    answered_ = false;
    if (byteTime_.count() > 0) {
        rxFree_ = std::max(rxFree_, a.at) + byteTime_;
        if (!SleepUntil(rxFree_)) return Result::Stopped;
    }
    byte = a.byte;
    return Result::Ok;
}

Line::Result Line::WaitWritable() {
    for (;;) {
        pollfd fds[2] = {{fd_, POLLOUT, 0}, {stopFd_, POLLIN, 0}};
        const int n = poll(fds, 2, -1);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Result::Closed;
        if (fds[1].revents) return Result::Stopped;
        if (fds[0].revents & (POLLERR | POLLNVAL)) return Result::Closed;
        return Result::Ok;
    }
}

Line::Result Line::WriteAll(const std::uint8_t* bytes, std::size_t count) {
    while (count > 0) {
        const Result r = WaitWritable();
        if (r != Result::Ok) return r;
        const ssize_t n = write(fd_, bytes, count);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n < 0) return Result::Closed;
        bytes += n;
        count -= static_cast<std::size_t>(n);
    }
    answered_ = true;
    lastSent_ = Clock::now();
    return Result::Ok;
}

// Held from the answer's last byte: the longest a free-running latency timer can keep it.
Line::Result Line::Hold(const std::uint8_t* bytes, std::size_t count, Clock::time_point sent) {
    if (!held_.empty() && heldUntil_ <= sent)
        if (const Result r = Release(); r != Result::Ok) return r;
    held_.insert(held_.end(), bytes, bytes + count);
    heldUntil_ = sent + usbLatency_;
    while (held_.size() >= kUsbPacketBytes) {
        const Result r = WriteAll(held_.data(), kUsbPacketBytes);
        if (r != Result::Ok) return r;
        held_.erase(held_.begin(), held_.begin() + kUsbPacketBytes);
    }
    return Result::Ok;
}

Line::Result Line::Release() {
    if (held_.empty()) return Result::Ok;
    if (!SleepUntil(heldUntil_)) return Result::Stopped;
    const Result r = WriteAll(held_.data(), held_.size());
    held_.clear();
    return r;
}

Line::Result Line::Write(const std::uint8_t* bytes, std::size_t count) {
    if (fd_ < 0) return Result::Closed;
    const bool usb = usbLatency_.count() > 0;
    if (byteTime_.count() == 0)
        return usb ? Hold(bytes, count, Clock::now()) : WriteAll(bytes, count);
    // Writes between two reads form one burst that keeps its schedule through a late wake-up,
    // as a UART sends back to back; a burst starts no earlier than now.
    if (!inBurst_) txFree_ = std::max(txFree_, Clock::now());
    inBurst_ = true;
    for (std::size_t i = 0; i < count; ++i) {
        txFree_ += byteTime_;
        if (!SleepUntil(txFree_)) return Result::Stopped;
        const Result r = usb ? Hold(bytes + i, 1, txFree_) : WriteAll(bytes + i, 1);
        if (r != Result::Ok) return r;
    }
    return Result::Ok;
}

Line::Result Line::Pause(Clock::duration duration) {
    inBurst_ = false;
    const auto end = Clock::now() + duration;
    // The adapter's timer runs out during a stall, so the PC sees what came before it.
    if (!held_.empty() && heldUntil_ <= end)
        if (const Result r = Release(); r != Result::Ok) return r;
    return SleepUntil(end) ? Result::Ok : Result::Stopped;
}

void Line::LetPeerRead() {
    if (Release() != Result::Ok || peerFd_ < 0) return;
    // Bytes just written may not have reached the PC's queue yet; give them a moment first.
    const auto limit = Clock::now() + std::chrono::seconds(2);
    if (!SleepUntil(Clock::now() + std::chrono::milliseconds(10))) return;
    int waiting = 0;
    while (ioctl(peerFd_, FIONREAD, &waiting) == 0 && waiting > 0 && Clock::now() < limit)
        if (!SleepUntil(Clock::now() + std::chrono::milliseconds(1))) return;
}

void Line::HangUp() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    arrived_.clear();
    held_.clear();
}

}  // namespace sim
