#include "PortName.h"

#include "OpenProblem.h"
#include "PortMap.h"
#include "PortProblemText.h"

namespace cli {

int OfferedComNumber(const std::string& value) {
    const std::optional<int> n = serial::ComNumber(value);
    // The port map reads COM02 as COM2; a name typed here must be the one the window shows.
    if (!n || *n > kLastComNumber || value != "COM" + std::to_string(*n)) return 0;
    return *n;
}

std::optional<PortName> ParsePortName(const std::string& value) {
    if (const int n = OfferedComNumber(value))
        return PortName{value, serial::ResolveComName(value), n};
    if (value.find('/') != std::string::npos) return PortName{value, value, 0};
    return std::nullopt;
}

std::string DeviceOf(const PortName& port) {
    return port.comNumber > 0 ? serial::DeviceOfComName(port.name) : port.device;
}

std::unique_ptr<TComm> OpenPort(const PortName& port, TBaud baud, std::string& problem) {
    auto comm = std::make_unique<TComm>(
        port.comNumber > 0 ? serial::MakePosixPlatform() : serial::MakePosixPlatform(port.device));
    comm->Baud = baud;
    if (port.comNumber > 0) comm->Port = static_cast<tPort>(port.comNumber - 1);
    comm->Connect();
    if (comm->OpenError() == 0) return comm;
    problem =
        jobs::PortProblemText(port.name, serial::DiagnoseOpen(DeviceOf(port), comm->OpenError()));
    return nullptr;
}

}  // namespace cli
