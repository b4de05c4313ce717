#include "ComLink.h"

#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "PortMap.h"

namespace sim {

namespace fs = std::filesystem;

namespace {

void RefuseIfTaken(const fs::path& path) {
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(path, ec);
    if (!fs::exists(st)) return;
    if (!fs::is_symlink(st))
        throw std::runtime_error(path.string() + " exists and is not a link; not replacing it");
    if (fs::exists(path, ec))
        throw std::runtime_error(path.string() + " points at " +
                                 fs::read_symlink(path, ec).string() +
                                 ", a device in use; not replacing it");
}

}  // namespace

ComLink::ComLink(const std::string& comName, const std::string& target) : target_(target) {
    if (comName.empty() || comName.find('/') != std::string::npos)
        throw std::runtime_error("bad COM name: " + comName);
    const fs::path dir = serial::PortMapDir();
    fs::create_directories(dir);
    const fs::path path = dir / comName;
    RefuseIfTaken(path);
    // Made aside and renamed over, so a stale link is replaced in one step.
    const fs::path temp = dir / ("." + comName + ".sim." + std::to_string(getpid()));
    std::error_code ec;
    fs::remove(temp, ec);
    fs::create_symlink(target, temp);
    fs::rename(temp, path);
    path_ = path.string();
}

ComLink::~ComLink() {
    std::error_code ec;
    if (fs::read_symlink(path_, ec) == fs::path(target_) && !ec) fs::remove(path_, ec);
}

}  // namespace sim
