#pragma once
// Each command's run as every caller makes it: the exchange or job, what the scale is then known
// to hold, and the run's line in the transfer log. Callers only show what comes back.

#include <chrono>
#include <string>

#include "Compare.h"
#include "Exchanges.h"
#include "Job.h"
#include "KeptDownload.h"
#include "Link.h"
#include "Table.h"
#include "TransferLog.h"

namespace jobs {

struct ReadoutRun {
    scale::ReadoutOutcome outcome = scale::ReadoutOutcome::NoAnswer;
    scale::DisplayReading reading;
    std::chrono::milliseconds duration{0};
};
ReadoutRun RunReadout(scale::Link& link, const std::string& port, TransferLog& log = SharedLog());

// An upload's report, and what could not be kept of what the scale is known to hold.
struct KeptUpload {
    Report report;
    std::string knownNote;
};
KeptUpload UploadKeepingKnown(scale::Link& link, const std::string& port, Observer& observer,
                              TransferLog& log = SharedLog());

struct KeptCompare {
    CompareReport compared;
    std::string knownNote;
};
KeptCompare CompareKeepingKnown(scale::Link& link, const std::string& port,
                                const tables::Table& table, Observer& observer,
                                TransferLog& log = SharedLog());

// Every data row of the table, as DownloadKeepingKnown sends them.
KeptDownload LoadWholeList(scale::Link& link, const std::string& port, const tables::Table& table,
                           scale::RowKind kind, Observer& observer, TransferLog& log = SharedLog());

}  // namespace jobs
