#include "OpenProblem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "SerialPlatform.h"

namespace serial {

namespace fs = std::filesystem;

namespace {

OpenProblem ProblemOf(int err) {
    switch (err) {
        case ENOENT:
        case ENXIO:
        case ENODEV:
        case ENOTDIR:
            return OpenProblem::NoDevice;
        case EACCES:
        case EPERM:
            return OpenProblem::AccessDenied;
        case EBUSY:
        case EWOULDBLOCK:
            return OpenProblem::Busy;
        case ENOTTY:
        case EISDIR:
            return OpenProblem::NotSerial;
        default:
            return OpenProblem::Other;
    }
}

OpenProblem ProblemOfCode(std::int32_t code) {
    switch (code) {
        case kErrorFileNotFound:
            return OpenProblem::NoDevice;
        case kErrorAccessDenied:
            return OpenProblem::AccessDenied;
        case kErrorSharingViolation:
            return OpenProblem::Busy;
        case kErrorNotSupported:
            return OpenProblem::NotSerial;
        default:
            return OpenProblem::Other;
    }
}

// The open and the checks of the platform's own open, without changing the line.
int OpenError(const std::string& device) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    int err = 0;
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        err = errno;
    else if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        err = EWOULDBLOCK;
    ::close(fd);
    return err;
}

std::string ProcessName(const fs::path& process) {
    std::ifstream in(process / "comm");
    std::string name;
    std::getline(in, name);
    return name;
}

// The names of the processes that have `device` open (from /proc), each once.
std::vector<std::string> ProgramsHolding(const std::string& device) {
    std::error_code ec;
    const fs::path target = fs::canonical(device, ec);
    std::vector<std::string> names;
    if (ec) return names;
    for (const auto& process : fs::directory_iterator("/proc", ec)) {
        const std::string pid = process.path().filename().string();
        if (!std::all_of(pid.begin(), pid.end(), ::isdigit)) continue;
        std::error_code fdError;
        for (const auto& fd : fs::directory_iterator(process.path() / "fd", fdError)) {
            std::error_code linkError;
            if (fs::read_symlink(fd.path(), linkError) != target) continue;
            const std::string name = ProcessName(process.path());
            if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(name);
            break;
        }
    }
    return names;
}

// A busy device's diagnosis names the programs that hold it.
OpenDiagnosis Diagnosis(const std::string& device, OpenProblem problem, std::string systemText) {
    OpenDiagnosis d{problem, device, std::move(systemText), {}};
    if (problem == OpenProblem::Busy) d.holders = ProgramsHolding(device);
    return d;
}

}  // namespace

OpenDiagnosis DiagnoseOpen(const std::string& device, std::int32_t openError) {
    const OpenProblem problem = ProblemOfCode(openError);
    if (problem != OpenProblem::Other) return Diagnosis(device, problem, {});
    const int err = OpenError(device);
    if (err == 0) return Diagnosis(device, problem, "код ошибки " + std::to_string(openError));
    return Diagnosis(device, ProblemOf(err), std::strerror(err));
}

OpenDiagnosis TryOpen(const std::string& device) {
    const int err = OpenError(device);
    if (err == 0) return Diagnosis(device, OpenProblem::None, {});
    return Diagnosis(device, ProblemOf(err), std::strerror(err));
}

}  // namespace serial
