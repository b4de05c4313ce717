#pragma once
// A changed-only load, as every caller runs it: what is known of the scale, the rows that changed,
// the check that the scale still holds what is known, what to do when it does not, the run
// itself with its known contents kept, and its lines in the transfer log. The caller answers the
// questions and shows the result; it decides nothing of its own.

#include <optional>
#include <string>

#include "Job.h"
#include "KnownContents.h"
#include "Link.h"
#include "Table.h"
#include "TransferLog.h"

namespace jobs {

// Why what is known of a scale cannot be used for a changed-only load.
enum class Distrust {
    Unknown,      // nothing is known: no run with it ended in a known state
    Stale,        // the check found records that are not what is known; those are forgotten
    NotKeepable,  // the known contents can be neither rewritten nor removed
};

class ChangesObserver : public Observer {
  public:
    // What is known cannot be used; detail: the position that did not match (Stale) or what
    // could not be done (NotKeepable). True sends the whole list instead.
    virtual bool SendWholeList(Distrust why, const std::string& detail) = 0;
    // Messages cannot be read back to check what is known: true sends their changes anyway.
    virtual bool TrustUnchecked(int toSend, int rows) = 0;
    // The check of the scale's records begins, and ends; lineFailed when nothing could be told.
    virtual void Checking() {}
    virtual void Checked(bool /*lineFailed*/) {}
    // The load goes on with `rows` rows, before its first byte; skipped is -1 for the whole
    // list.
    virtual void Sending(int /*rows*/, int /*skipped*/) {}
};

struct ChangesResult {
    enum class End {
        Sent,            // a run went: the report says how it ended
        NothingChanged,  // every row is known to be on the scale; nothing was sent
        Declined,        // the caller did not want the whole list, or unchecked messages
        CheckFailed,     // the line failed during the check; the report holds the failure
    };
    End end = End::Sent;
    Report report;
    int rows = 0;      // the rows the run sent, or would have sent
    int skipped = -1;  // left out as unchanged; -1 when the whole list went
    std::optional<Distrust> distrust;
    std::string detail;     // as given to SendWholeList
    std::string knownNote;  // what could not be kept of the known contents, when not all went well
};

ChangesResult LoadChanges(scale::Link& link, const std::string& port, const tables::Table& table,
                          scale::RowKind kind, ChangesObserver& observer,
                          TransferLog& log = SharedLog());

}  // namespace jobs
