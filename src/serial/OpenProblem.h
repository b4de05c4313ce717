#pragma once
// Why a serial device cannot be opened as a port, found by trying it as the platform does, so
// that a user can be told what to do rather than to check a cable that is fine.

#include <cstdint>
#include <string>
#include <vector>

namespace serial {

enum class OpenProblem {
    None,
    NoDevice,      // nothing at the path, or a link to nothing
    Busy,          // another program holds it
    AccessDenied,  // this user may not open it
    NotSerial,     // a file or a device that takes no line settings
    Other,
};

struct OpenDiagnosis {
    OpenProblem problem = OpenProblem::None;
    std::string device;                // the path tried
    std::string systemText;            // the system's own words, for Other
    std::vector<std::string> holders;  // programs that hold it, when the system can tell
};

// The cause from the platform's error code (TComm::OpenError()); the device is tried again only
// when the code alone cannot tell, to give the system's own words.
OpenDiagnosis DiagnoseOpen(const std::string& device, std::int32_t openError);

// The device tried as the platform opens it, without changing its line: problem None when it
// opens. Opening may raise DTR for a moment, as any open of a serial device does.
OpenDiagnosis TryOpen(const std::string& device);

}  // namespace serial
