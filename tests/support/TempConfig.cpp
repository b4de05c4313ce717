#include "TempConfig.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "PortMap.h"

TempConfig::TempConfig() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qvscale-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
        hadOld_ = true;
        oldValue_ = old;
    }
    setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    std::filesystem::create_directories(PortDir());
}

TempConfig::~TempConfig() {
    if (hadOld_)
        setenv("XDG_CONFIG_HOME", oldValue_.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

std::string TempConfig::PortDir() const {
    return dir_ + "/qvscale/ports";
}
