#include "PortName.h"

#include "OpenProblem.h"
#include "PortMap.h"
#include "PortProblemText.h"

namespace cli {

std::optional<PortName> ParsePortName(const std::string& value) {
    for (int n = 1; n <= kLastComNumber; ++n) {
        const std::string name = "COM" + std::to_string(n);
        if (value == name) return PortName{name, serial::ResolveComName(name), n};
    }
    if (value.find('/') != std::string::npos) return PortName{value, value, 0};
    return std::nullopt;
}

std::unique_ptr<TComm> OpenPort(const PortName& port, TBaud baud, std::string& problem) {
    auto comm = std::make_unique<TComm>(
        port.comNumber > 0 ? serial::MakePosixPlatform() : serial::MakePosixPlatform(port.device));
    comm->Baud = baud;
    if (port.comNumber > 0) comm->Port = static_cast<tPort>(port.comNumber - 1);
    comm->Connect();
    if (comm->OpenError() == 0) return comm;
    problem =
        jobs::PortProblemText(port.name, serial::DiagnoseOpen(port.device, comm->OpenError()));
    return nullptr;
}

}  // namespace cli
