#pragma once
// The device the scale answers on: a new pseudo-terminal, or a serial device given by path.

#include <string>

namespace sim {

struct LineDevice {
    int fd = -1;          // the scale reads and writes here
    int keepOpenFd = -1;  // a slave kept open, so the PC's close does not hang the line up
    std::string pcPath;   // what the PC opens; empty for a serial device

    LineDevice() = default;
    LineDevice(const LineDevice&) = delete;
    LineDevice& operator=(const LineDevice&) = delete;
    LineDevice(LineDevice&& o) noexcept;
    LineDevice& operator=(LineDevice&& o) noexcept;
    ~LineDevice();
    // Closes both descriptors; fd may already be closed by a hang-up (pass fdClosed).
    void Close(bool fdClosed = false);
};

// Throws std::system_error.
LineDevice OpenPseudoTerminal();
// 9600 baud, 8 data bits, no parity, 1 stop bit, raw; locked against other users.
LineDevice OpenSerialDevice(const std::string& path);

}  // namespace sim
