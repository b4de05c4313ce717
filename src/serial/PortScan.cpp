#include "PortScan.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

#include "PortMap.h"

namespace serial {

namespace fs = std::filesystem;

namespace {

std::string CanonicalOf(const fs::path& path) {
    std::error_code ec;
    const fs::path real = fs::canonical(path, ec);
    return ec ? std::string() : real.string();
}

std::string FirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    return line;
}

// "ttyS<n>": a plain port, which the kernel makes a node for whether or not a UART is there.
bool IsPlainPortName(const std::string& name) {
    return name.size() > 4 && name.compare(0, 4, "ttyS") == 0 &&
           std::all_of(name.begin() + 4, name.end(),
                       [](unsigned char c) { return c >= '0' && c <= '9'; });
}

// Whether a UART is behind a plain port; nothing when it cannot be told. The serial core's
// sysfs "type" is the TIOCGSERIAL type, read without opening the port, which would raise DTR
// and needs the dialout group; the ioctl is the fallback where sysfs has no entry.
std::optional<bool> UartBehind(const std::string& device, const DeviceRoots& roots) {
    const std::string name = fs::path(device).filename().string();
    if (!IsPlainPortName(name)) return std::nullopt;
    const std::string type = FirstLine(fs::path(roots.sys) / "class/tty" / name / "type");
    if (!type.empty()) return std::atoi(type.c_str()) != PORT_UNKNOWN;
    const int fd = ::open(device.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == EIO ? std::optional<bool>(false) : std::nullopt;
    serial_struct s{};
    const bool known = ::ioctl(fd, TIOCGSERIAL, &s) == 0;
    ::close(fd);
    return known ? std::optional<bool>(s.type != PORT_UNKNOWN) : std::nullopt;
}

// The maker and model a USB adapter gives: its USB device is the first of the tty's parents
// with a vendor id (the interface for ttyACM, one more step up for ttyUSB). Sysfs rather than
// udev's database: it is the kernel's stable interface and is there without udev.
void NameTheMaker(UnmappedDevice& d, const DeviceRoots& roots) {
    const std::string name = fs::path(d.device).filename().string();
    fs::path dir = CanonicalOf(fs::path(roots.sys) / "class/tty" / name / "device");
    for (int up = 0; up < 4 && !dir.empty() && dir != dir.root_path(); ++up) {
        std::error_code ec;
        if (fs::exists(dir / "idVendor", ec)) {
            d.maker = FirstLine(dir / "manufacturer");
            d.model = FirstLine(dir / "product");
            return;
        }
        dir = dir.parent_path();
    }
}

std::vector<fs::path> Entries(const fs::path& dir) {
    std::vector<fs::path> entries;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) entries.push_back(e.path());
    std::sort(entries.begin(), entries.end());
    return entries;
}

// ttyS0, ttyS1, ... ttyS10 in number order.
std::vector<fs::path> PlainPorts(const DeviceRoots& roots) {
    std::vector<fs::path> ports;
    for (const fs::path& p : Entries(roots.dev))
        if (IsPlainPortName(p.filename().string())) ports.push_back(p);
    std::sort(ports.begin(), ports.end(), [](const fs::path& a, const fs::path& b) {
        return std::atoi(a.filename().c_str() + 4) < std::atoi(b.filename().c_str() + 4);
    });
    return ports;
}

}  // namespace

DeviceRoots DeviceRootsFromEnvironment() {
    DeviceRoots roots;
    const char* root = std::getenv("QVSCALE_DEV_ROOT");
    if (root && *root) {
        roots.dev = std::string(root) + "/dev";
        roots.sys = std::string(root) + "/sys";
    }
    return roots;
}

ComLead LeadOf(int comNumber, const DeviceRoots& roots) {
    ComLead lead;
    lead.name = "COM" + std::to_string(comNumber);
    const fs::path entry = fs::path(PortMapDir()) / lead.name;
    std::error_code ec;
    if (fs::is_symlink(entry, ec)) {
        lead.linked = true;
        lead.leadsTo =
            (entry.parent_path() / fs::read_symlink(entry, ec)).lexically_normal().string();
    } else if (fs::exists(entry, ec)) {
        lead.linked = true;
        lead.leadsTo = entry.string();
    } else {
        lead.leadsTo = roots.dev + "/ttyS" + std::to_string(comNumber - 1);
    }
    lead.device = CanonicalOf(lead.leadsTo);
    lead.noUart = !lead.device.empty() && UartBehind(lead.device, roots) == false;
    return lead;
}

ComPort ScanComPort(int comNumber, const DeviceRoots& roots) {
    const ComLead lead = LeadOf(comNumber, roots);
    if (lead.Present()) return {lead, TryOpen(lead.leadsTo)};
    return {lead, {OpenProblem::NoDevice, lead.leadsTo, {}, {}}};
}

PortScan ScanPorts(const DeviceRoots& roots) {
    PortScan scan;
    std::set<std::string> named;
    for (int n = 1; n <= kComNames; ++n) {
        scan.com.push_back(ScanComPort(n, roots));
        if (scan.com.back().lead.Present()) named.insert(scan.com.back().lead.device);
    }
    for (const fs::path& p : Entries(roots.ById())) {
        UnmappedDevice d{p.string(), CanonicalOf(p), {}, {}};
        if (d.device.empty() || !named.insert(d.device).second) continue;
        NameTheMaker(d, roots);
        scan.unmapped.push_back(d);
    }
    for (const fs::path& p : PlainPorts(roots)) {
        const std::string device = CanonicalOf(p);
        if (device.empty() || named.count(device) || UartBehind(device, roots) != true) continue;
        scan.unmapped.push_back({p.string(), device, {}, {}});
    }
    return scan;
}

std::string ByIdNameOf(const std::string& path, const DeviceRoots& roots) {
    const std::string device = CanonicalOf(path);
    if (device.empty()) return {};
    for (const fs::path& p : Entries(roots.ById()))
        if (CanonicalOf(p) == device) return p.string();
    return {};
}

}  // namespace serial
