#pragma once
// qvscale-cli compare: a PLU list file against each scale's list.

#include <string>

#include "Output.h"
#include "Settings.h"

namespace cli {

constexpr const char* kComparePluOnly =
    "Сверить можно только список PLU: сообщения весы обратно не передают";

// One line per difference and a summary per port; kDifferent when a scale differs.
int RunCompare(const Settings& settings, Output& output);

}  // namespace cli
