#pragma once
// A configuration and state folder of the test's own, so COM links and transfer logs made by one
// test never meet another's. It is the device scan's root too: a machine with no serial devices
// until the test makes its dev/ and sys/ entries.

#include <optional>
#include <string>
#include <vector>

class TempConfig {
  public:
    // Creates a fresh folder and points XDG_CONFIG_HOME, XDG_STATE_HOME and QVSCALE_DEV_ROOT
    // at it.
    TempConfig();
    // Removes the folder and everything in it.
    ~TempConfig();
    TempConfig(const TempConfig&) = delete;
    TempConfig& operator=(const TempConfig&) = delete;

    const std::string& Dir() const { return dir_; }
    // The port map folder inside it (created).
    std::string PortDir() const;

  private:
    std::string dir_;
    std::vector<std::optional<std::string>> saved_;
};
