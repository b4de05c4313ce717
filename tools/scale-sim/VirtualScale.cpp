#include "VirtualScale.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <stdexcept>
#include <system_error>

#include "ComLink.h"
#include "Line.h"
#include "Pty.h"
#include "Session.h"
#include "Trace.h"

namespace sim {

struct VirtualScale::Parts {
    LineDevice device;
    std::unique_ptr<ComLink> link;
    int stopFd = -1;
    std::unique_ptr<Line> line;
    std::unique_ptr<Trace> trace;
    std::string noPath;

    ~Parts() {
        if (stopFd >= 0) close(stopFd);
    }
};

namespace {

LineDevice OpenDevice(const Options& o) {
    if (o.device.empty()) return OpenPseudoTerminal();
    if (!o.link.empty())
        throw std::invalid_argument(
            "--link needs a pseudo-terminal: the PC's end of a serial "
            "device is not known to the scale");
    return OpenSerialDevice(o.device);
}

}  // namespace

VirtualScale::VirtualScale(Options options) : parts_(std::make_unique<Parts>()) {
    Parts& p = *parts_;
    p.device = OpenDevice(options);
    if (!options.link.empty()) p.link = std::make_unique<ComLink>(options.link, p.device.pcPath);
    p.stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (p.stopFd < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
    p.line = std::make_unique<Line>(p.device.fd, options.baud, p.stopFd, p.device.keepOpenFd,
                                    options.usbLatency);
    p.line->OnTurnaround([this](Clock::duration turnaround) {
        std::lock_guard<std::mutex> lock(state_.mutex);
        state_.turnarounds.push_back(turnaround);
    });
    p.trace = std::make_unique<Trace>(options.trace, Clock::now());
    const auto pcTimeout = options.pcTimeout;
    thread_ = std::thread([this, pcTimeout] {
        Session(*parts_->line, state_, *parts_->trace, pcTimeout).Run();
        // After a hang-up the device goes away entirely, as a cable pulled out.
        if (!parts_->line->IsOpen()) parts_->device.Close(true);
        std::lock_guard<std::mutex> lock(state_.mutex);
        state_.running = false;
        state_.changed.notify_all();
    });
}

VirtualScale::~VirtualScale() {
    const std::uint64_t one = 1;
    if (write(parts_->stopFd, &one, sizeof one) < 0) {
        // The eventfd cannot be full after one write; nothing else to do.
    }
    thread_.join();
}

const std::string& VirtualScale::SlavePath() const {
    return parts_->device.pcPath;
}

const std::string& VirtualScale::LinkPath() const {
    return parts_->link ? parts_->link->Path() : parts_->noPath;
}

void VirtualScale::SetDisplay(std::int32_t weight, std::int32_t price, std::int32_t total) {
    std::lock_guard<std::mutex> lock(state_.mutex);
    state_.display = Display{weight, price, total};
}

Display VirtualScale::GetDisplay() const {
    std::lock_guard<std::mutex> lock(state_.mutex);
    return state_.display;
}

void VirtualScale::SetCapacity(int capacity) {
    if (capacity < 0 || capacity > kMaxPluNumber) throw std::invalid_argument("capacity");
    std::lock_guard<std::mutex> lock(state_.mutex);
    state_.capacity = capacity;
}

void VirtualScale::PutPlu(const PluRecord& record) {
    std::lock_guard<std::mutex> lock(state_.mutex);
    state_.plus[record.plu] = record;
}

std::optional<PluRecord> VirtualScale::FindPlu(std::uint16_t plu) const {
    std::lock_guard<std::mutex> lock(state_.mutex);
    const auto it = state_.plus.find(plu);
    if (it == state_.plus.end()) return std::nullopt;
    return it->second;
}

std::vector<PluRecord> VirtualScale::Plus() const {
    std::lock_guard<std::mutex> lock(state_.mutex);
    std::vector<PluRecord> all;
    for (const auto& entry : state_.plus) all.push_back(entry.second);
    return all;
}

void VirtualScale::ClearPlus() {
    std::lock_guard<std::mutex> lock(state_.mutex);
    state_.plus.clear();
}

void VirtualScale::PutMessage(const Message& message) {
    std::lock_guard<std::mutex> lock(state_.mutex);
    state_.messages[message.number] = message;
}

std::optional<Message> VirtualScale::FindMessage(std::uint16_t number) const {
    std::lock_guard<std::mutex> lock(state_.mutex);
    const auto it = state_.messages.find(number);
    if (it == state_.messages.end()) return std::nullopt;
    return it->second;
}

std::vector<Message> VirtualScale::Messages() const {
    std::lock_guard<std::mutex> lock(state_.mutex);
    std::vector<Message> all;
    for (const auto& entry : state_.messages) all.push_back(entry.second);
    return all;
}

void VirtualScale::ClearMessages() {
    std::lock_guard<std::mutex> lock(state_.mutex);
    state_.messages.clear();
}

Bytes VirtualScale::Received() const {
    std::lock_guard<std::mutex> lock(state_.mutex);
    return state_.received;
}

std::vector<Exchange> VirtualScale::Exchanges() const {
    std::lock_guard<std::mutex> lock(state_.mutex);
    return state_.exchanges;
}

void VirtualScale::ClearReceived() {
    std::lock_guard<std::mutex> lock(state_.mutex);
    state_.received.clear();
    state_.turnarounds.clear();
    // The exchange in progress stays, so its bytes keep a place to go.
    const bool inProgress = !state_.exchanges.empty() && !state_.exchanges.back().ended;
    state_.exchanges.erase(state_.exchanges.begin(), state_.exchanges.end() - (inProgress ? 1 : 0));
}

std::vector<Clock::duration> VirtualScale::Turnarounds() const {
    std::lock_guard<std::mutex> lock(state_.mutex);
    return state_.turnarounds;
}

bool VirtualScale::WaitReceived(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(state_.mutex);
    return state_.changed.wait_for(lock, timeout, [&] { return state_.received.size() >= count; });
}

bool VirtualScale::WaitExchanges(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(state_.mutex);
    return state_.changed.wait_for(lock, timeout, [&] {
        std::size_t ended = 0;
        for (const Exchange& e : state_.exchanges) ended += e.ended;
        return ended >= count;
    });
}

bool VirtualScale::WaitListening(std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(state_.mutex);
    return state_.changed.wait_for(lock, timeout, [&] { return state_.listening; });
}

void VirtualScale::Inject(const Fault& fault) {
    std::lock_guard<std::mutex> lock(state_.mutex);
    state_.faults.Add(fault);
}

void VirtualScale::ClearFaults() {
    std::lock_guard<std::mutex> lock(state_.mutex);
    state_.faults.Clear();
}

void VirtualScale::OnExchangeStart(ExchangeHook hook) {
    std::lock_guard<std::mutex> lock(state_.mutex);
    state_.hook = std::move(hook);
}

bool VirtualScale::HungUp() const {
    std::lock_guard<std::mutex> lock(state_.mutex);
    return state_.hungUp;
}

bool VirtualScale::Serving() const {
    std::lock_guard<std::mutex> lock(state_.mutex);
    return state_.running;
}

}  // namespace sim
