#pragma once
// watch: a folder as the queue of lists to download. Each file is sent to every port in the
// order the files came, then moved to done/ or failed/ with a log of what happened; a scale
// that does not answer keeps the file, and every later one, waiting for a retry.

#include "Output.h"
#include "Settings.h"

namespace cli {

// Returns only on a signal (130) or when the folder cannot be watched or is gone (3).
int RunWatch(const Settings& settings, Output& output);

}  // namespace cli
