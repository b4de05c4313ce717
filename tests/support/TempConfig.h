#pragma once
// A configuration folder of the test's own, so COM links made by one test never meet another's.

#include <string>

class TempConfig {
  public:
    // Creates a fresh folder and points XDG_CONFIG_HOME at it.
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
    std::string oldValue_;
    bool hadOld_ = false;
};
