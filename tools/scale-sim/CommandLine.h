#pragma once
// The qvscale-sim command line.

#include <optional>
#include <string>
#include <vector>

#include "Fault.h"
#include "Records.h"
#include "VirtualScale.h"

namespace sim {

struct CommandLine {
    Options options;
    bool trace = false;
    std::vector<std::string> loads;
    std::vector<std::string> saves;
    std::optional<Display> display;
    std::optional<int> capacity;
    std::vector<Fault> faults;
    bool help = false;
    bool version = false;
};

// Throws std::invalid_argument with a message for the operator.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

extern const char kUsage[];

}  // namespace sim
