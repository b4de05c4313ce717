#include "PortMap.h"

#include <cstdlib>
#include <filesystem>

namespace serial {

std::string ConfigDir() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config && *config) {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home ? home : "") + "/.config";
    }
    return base + "/qvscale";
}

std::string PortMapDir() {
    return ConfigDir() + "/ports";
}

// A name, not a typed number: no sign or spaces, so DecimalValue's rule does not fit.
std::optional<int> ComNumber(const std::string& name) {
    if (name.size() < 4 || name.compare(0, 3, "COM") != 0) return std::nullopt;
    int n = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || n > 1000) return std::nullopt;
        n = n * 10 + (name[i] - '0');
    }
    if (n == 0) return std::nullopt;
    return n;
}

std::string ResolveComName(const std::string& name) {
    const std::optional<int> n = ComNumber(name);
    if (!n) return name;
    const std::filesystem::path link = std::filesystem::path(PortMapDir()) / name;
    std::error_code ec;
    if (std::filesystem::is_symlink(link, ec) || std::filesystem::exists(link, ec))
        return link.string();
    return "/dev/ttyS" + std::to_string(*n - 1);
}

std::string DeviceOfComName(const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path path = ResolveComName(name);
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path.string();
    const fs::path device = fs::canonical(path, ec);
    if (!ec) return device.string();
    const fs::path target = fs::read_symlink(path, ec);
    if (ec) return path.string();
    return (target.is_absolute() ? target : path.parent_path() / target)
        .lexically_normal()
        .string();
}

namespace {
// A plain file or folder under a COM name is someone's own doing; it is not ours to replace.
bool IsLinkOrFree(const std::filesystem::path& entry, std::string& problem) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(entry, ec);
    if (!std::filesystem::exists(status) || std::filesystem::is_symlink(status)) return true;
    problem = entry.string() + " — не ссылка";
    return false;
}
}  // namespace

bool LinkComName(const std::string& name, const std::string& target, std::string& problem) {
    namespace fs = std::filesystem;
    const fs::path entry = fs::path(PortMapDir()) / name;
    if (!IsLinkOrFree(entry, problem)) return false;
    const fs::path fresh = fs::path(PortMapDir()) / ("." + name + ".new");
    std::error_code ec;
    fs::create_directories(PortMapDir(), ec);
    fs::remove(fresh, ec);
    fs::create_symlink(target, fresh, ec);
    if (!ec) fs::rename(fresh, entry, ec);
    if (!ec) return true;
    problem = ec.message();
    fs::remove(fresh, ec);
    return false;
}

bool UnlinkComName(const std::string& name, std::string& problem) {
    const std::filesystem::path entry = std::filesystem::path(PortMapDir()) / name;
    if (!IsLinkOrFree(entry, problem)) return false;
    std::error_code ec;
    std::filesystem::remove(entry, ec);
    if (ec) problem = ec.message();
    return !ec;
}

}  // namespace serial
