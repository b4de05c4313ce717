#pragma once
// qvscale-cli ports: what COM1..COM8 lead to and the serial devices without a COM name; ports
// map and ports unmap make and remove a COM name's link.

#include <optional>
#include <string>
#include <vector>

#include "Output.h"
#include "Settings.h"

namespace cli {

// What is wrong with the words after "ports", if anything.
std::optional<std::string> CheckPortsOperands(const std::vector<std::string>& operands);

int RunPorts(const Settings& settings, Output& output);

}  // namespace cli
