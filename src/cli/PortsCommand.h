#pragma once
// qvscale-cli ports: what COM1..COM8 lead to and the serial devices without a COM name; ports
// map and ports unmap make and remove a COM name's link.

#include <QStringList>
#include <optional>
#include <string>

#include "Output.h"
#include "Settings.h"

namespace cli {

// The words after the command's name into the settings' operands; what is wrong with them, if
// anything.
std::optional<std::string> PortsOperands(const QStringList& words, Settings& settings);

int RunPorts(const Settings& settings, Output& output);

}  // namespace cli
