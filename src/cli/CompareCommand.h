#pragma once
// qvscale-cli compare: a PLU list file against each scale's list.

#include <string>

#include "Output.h"
#include "Settings.h"

namespace cli {

std::string ComparePluOnly();

// One line per difference and a summary per port; kDifferent when a scale differs.
int RunCompare(const Settings& settings, Output& output);

}  // namespace cli
