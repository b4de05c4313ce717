#pragma once
// The virtual scale: the scale's side of the line, served on a thread of its own.
//
//   sim::Options options;
//   options.link = "COM2";
//   sim::VirtualScale scale(options);
//   scale.PutPlu(record);
//   ... the program opens COM2 and talks to it ...
//   EXPECT_EQ(scale.Received(), expectedBytes);
//
// Every method may be called from any thread while the scale serves.

#include <chrono>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "Exchange.h"
#include "Fault.h"
#include "Records.h"
#include "ScaleState.h"

namespace sim {

struct Options {
    std::string link;               // COM name to link in the port map folder ("COM2"); empty: none
    std::string device;             // serial device to answer on instead of a new pseudo-terminal
    int baud = 0;                   // pace every byte as the line would at this rate; 0: unpaced
    std::ostream* trace = nullptr;  // one line per exchange step; null: none
    // How long the scale waits for the PC's next byte inside an exchange before giving it up.
    std::chrono::milliseconds pcTimeout{2000};
    // A USB adapter's latency timer between the scale and the PC: an answer shorter than a USB
    // packet (62 bytes) reaches the PC this long after its last byte. 0: a plain UART.
    std::chrono::milliseconds usbLatency{0};
};

class VirtualScale {
  public:
    // Opens the line, links it and starts serving. Throws std::runtime_error (a link that is
    // someone else's, a device that cannot be opened) or std::invalid_argument (--link with
    // a serial device: the PC's end of that line is not known here).
    explicit VirtualScale(Options options = {});
    // Stops serving, closes the line and removes the link.
    ~VirtualScale();
    VirtualScale(const VirtualScale&) = delete;
    VirtualScale& operator=(const VirtualScale&) = delete;

    // The path the PC opens (the pty's slave); empty on a serial device.
    const std::string& SlavePath() const;
    // The COM link's full path; empty when not linked.
    const std::string& LinkPath() const;

    void SetDisplay(std::int32_t weight, std::int32_t price, std::int32_t total);
    Display GetDisplay() const;

    // PLU numbers 1 to `capacity` are accepted (at most 65535, the default).
    void SetCapacity(int capacity);
    // Stores a record, replacing one of the same PLU number.
    void PutPlu(const PluRecord& record);
    std::optional<PluRecord> FindPlu(std::uint16_t plu) const;
    // In PLU-number order, the order of the upload.
    std::vector<PluRecord> Plus() const;
    void ClearPlus();

    void PutMessage(const Message& message);
    std::optional<Message> FindMessage(std::uint16_t number) const;
    std::vector<Message> Messages() const;
    void ClearMessages();

    // Every byte received from the PC, in order, stray bytes included.
    Bytes Received() const;
    // The exchanges since the last ClearReceived, the one in progress last.
    std::vector<Exchange> Exchanges() const;
    // For each byte the PC sent after an answer of the scale, the time from the answer's last byte
    // leaving to that byte arriving, since the last ClearReceived.
    std::vector<std::chrono::steady_clock::duration> Turnarounds() const;
    void ClearReceived();
    // True once `count` bytes have been received; false after `timeout`.
    bool WaitReceived(std::size_t count, std::chrono::milliseconds timeout) const;
    // True once `count` exchanges have ended (complete or abandoned); false after `timeout`.
    bool WaitExchanges(std::size_t count, std::chrono::milliseconds timeout) const;
    // True once the scale waits for the next request: an abandoned exchange leaves it skipping
    // the PC's bytes until the PC has been quiet a while. False after `timeout`.
    bool WaitListening(std::chrono::milliseconds timeout) const;

    // Throws std::invalid_argument for a fault that could never fire (see CheckFault).
    void Inject(const Fault& fault);
    void ClearFaults();

    // Called on the scale's thread when an exchange is known (see ExchangeStart); the exchange
    // waits for it, so keep it short. An empty function removes the hook.
    void OnExchangeStart(ExchangeHook hook);

    // The line was hung up by a fault; the scale no longer serves.
    bool HungUp() const;
    // False once the scale has stopped serving: hung up, or its device failed.
    bool Serving() const;

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    ScaleState state_;
    std::thread thread_;
};

}  // namespace sim
