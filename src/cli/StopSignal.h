#pragma once
// SIGINT and SIGTERM ask every run to stop after the record under way, never inside one.

namespace cli {

void CatchStopSignals();
bool StopRequested();
// Readable once a stop is asked, so a wait in poll() ends at once; -1 before CatchStopSignals.
int StopWakeFd();

}  // namespace cli
