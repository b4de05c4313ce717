#include "TempConfig.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "PortMap.h"

namespace {
// The port map lives under the configuration folder, the transfer log under the state folder;
// the device scan looks for dev/ and sys/ under the device root.
const char* const kVariables[] = {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "QVSCALE_DEV_ROOT"};
}  // namespace

TempConfig::TempConfig() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qvscale-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    for (const char* name : kVariables) {
        const char* old = std::getenv(name);
        saved_.push_back(old ? std::optional<std::string>(old) : std::nullopt);
        setenv(name, dir_.c_str(), 1);
    }
    std::filesystem::create_directories(PortDir());
}

TempConfig::~TempConfig() {
    for (std::size_t i = 0; i < saved_.size(); ++i) {
        if (saved_[i])
            setenv(kVariables[i], saved_[i]->c_str(), 1);
        else
            unsetenv(kVariables[i]);
    }
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

std::string TempConfig::PortDir() const {
    return dir_ + "/qvscale/ports";
}
