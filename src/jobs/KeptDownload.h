#pragma once
// A download that keeps the port's known contents true at every instant of the run: what it may
// send stops being claimed before its first byte, and what the scale confirms is claimed again.

#include <functional>
#include <string>
#include <vector>

#include "Job.h"
#include "KnownContents.h"
#include "Link.h"
#include "Table.h"

namespace jobs {

struct KeptDownload {
    Report report;
    // A changed-only load whose known contents could not stop claiming its rows: nothing was
    // sent, since a kill would leave claims the scale no longer holds.
    bool refused = false;
    // What could not be kept, in the operator's words; empty when all went well.
    std::string knownNote;
};

// Sends every data row of the table (rows null) or the given rows of a changed-only load, as
// RunDownload does. started, when given, is called once the run will go on, before its first
// byte. known: what is known of the port, when the caller has just read it.
KeptDownload DownloadKeepingKnown(scale::Link& link, const std::string& port,
                                  const tables::Table& table, scale::RowKind kind,
                                  const std::vector<int>* rows, Observer& observer,
                                  const std::function<void()>& started = nullptr,
                                  const KnownRecords* known = nullptr);

}  // namespace jobs
