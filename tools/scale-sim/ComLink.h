#pragma once
// A COM name in the port map folder that points at the scale's device while the scale runs.

#include <string>

namespace sim {

class ComLink {
  public:
    // Links `comName` to `target`. A stale link (its target gone) is replaced; a link to a live
    // device, or anything that is not a link, is someone else's: throws std::runtime_error.
    ComLink(const std::string& comName, const std::string& target);
    // Removes the link if it still points at our target.
    ~ComLink();
    ComLink(const ComLink&) = delete;
    ComLink& operator=(const ComLink&) = delete;

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
    std::string target_;
};

}  // namespace sim
