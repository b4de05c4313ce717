#pragma once
// A --port value: a COM name (COM1..COM8), found through the port map as the window finds it,
// or the path of a device.

#include <memory>
#include <optional>
#include <string>

#include "MyCom.h"

namespace cli {

struct PortName {
    std::string name;    // as the user wrote it: "COM2" or "/dev/ttyUSB0"
    std::string device;  // the path it leads to
    int comNumber = 0;   // 1..8 for a COM name, 0 for a path
};

constexpr int kLastComNumber = 8;

// 1..8 for a COM name as the window offers it ("COM2"; not "COM02", "com2" or "COM9"), 0 for any
// other value.
int OfferedComNumber(const std::string& value);

// Nothing for a value that is neither a COM name nor a path.
std::optional<PortName> ParsePortName(const std::string& value);

// The device the port leads to now, for messages: a COM name's link followed.
std::string DeviceOf(const PortName& port);

// Opens the port with the given speed and the window's other defaults (one stop bit, no
// parity, eight data bits). On failure: null, and why in the user's words.
std::unique_ptr<TComm> OpenPort(const PortName& port, TBaud baud, std::string& problem);

}  // namespace cli
