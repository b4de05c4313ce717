#pragma once
// What the COM names lead to on this machine, and the serial devices that no COM name leads to
// yet, found from the port map folder, /dev and /sys.

#include <string>
#include <vector>

#include "OpenProblem.h"

namespace serial {

// Where the devices and their sysfs entries are.
struct DeviceRoots {
    std::string dev = "/dev";
    std::string sys = "/sys";
    std::string ById() const { return dev + "/serial/by-id"; }
};
// /dev and /sys, or dev/ and sys/ under $QVSCALE_DEV_ROOT, where tests build a machine of their
// own.
DeviceRoots DeviceRootsFromEnvironment();

constexpr int kComNames = 8;

// Where a COM name leads, from the port map folder and the file system alone: nothing is opened.
struct ComLead {
    std::string name;     // "COM2"
    std::string leadsTo;  // the link's target, absolute; <dev>/ttyS<n-1> without a link
    bool linked = false;  // the port map folder has an entry of that name
    std::string device;   // leadsTo with every link followed; empty when nothing is there
    bool noUart = false;  // a plain port whose node exists with no UART behind it
    bool Present() const { return !device.empty() && !noUart; }
};
ComLead LeadOf(int comNumber, const DeviceRoots& roots);

struct ComPort {
    ComLead lead;
    OpenDiagnosis open;  // None when the device opens; NoDevice when it is not present
};

struct UnmappedDevice {
    std::string path;    // its by-id name, or <dev>/ttyS<n>
    std::string device;  // what that leads to
    std::string maker;   // the USB device's own words, empty when it gives none
    std::string model;
};

struct PortScan {
    std::vector<ComPort> com;  // COM1..COM8
    std::vector<UnmappedDevice> unmapped;
};

// A present device is tried as the platform opens it (TryOpen).
ComPort ScanComPort(int comNumber, const DeviceRoots& roots);
PortScan ScanPorts(const DeviceRoots& roots);

// The by-id name that leads to the same device as path; empty when there is none.
std::string ByIdNameOf(const std::string& path, const DeviceRoots& roots);

}  // namespace serial
