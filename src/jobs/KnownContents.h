#pragma once
// What each scale is known to hold, kept per port between runs, so that a daily price update can
// send only the rows that changed. Only what the scale confirmed is kept: a row whose exchange
// ended well, a record it sent. A record the scale may or may not hold is never claimed, since a
// load that trusts a wrong claim would leave a wrong price on the scale.
//
// $XDG_STATE_HOME/qvscale/scales/COM2.plu and COM2.msg (~/.local/state/...), table files of the
// records as the scale holds them, written atomically.

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Job.h"
#include "Table.h"

namespace jobs {

// Records by PLU or message number, each as CanonicalRecord gives it.
using KnownRecords = std::map<std::int32_t, tables::Row>;

// The row as the scale holds it once downloaded: for a PLU, what the upload would give back (each
// number as sent, names as prepared for the line and decoded again); for a message, its number
// and each line as sent. Nothing for a row the download would refuse.
std::optional<tables::Row> CanonicalRecord(const tables::Row& row, scale::RowKind kind);
// The number a canonical record is kept under.
std::int32_t RecordNumber(const tables::Row& canonical);

std::string KnownContentsFolder();
// A port given by its path gets a name with every character but letters, digits, '-' and '_'
// escaped, so it stays inside the folder and no two ports share a file.
std::string KnownContentsPath(const std::string& port, scale::RowKind kind);

// Nothing when none is kept for the port, or the file cannot be read.
std::optional<KnownRecords> LoadKnown(const std::string& port, scale::RowKind kind);
// On failure the file is removed, so that it cannot go on claiming what this run undid, and
// error names the cause.
bool SaveKnown(const std::string& port, scale::RowKind kind, const KnownRecords& records,
               std::string& error);
// After the scale has shown that what is known is not what it holds, none of it can be trusted.
void ForgetKnown(const std::string& port, scale::RowKind kind);

// Keeps a port's known contents up to date from a run's events, passing each on to `next`.
// A download: each row that went well becomes known, a row whose exchange failed is forgotten.
// An upload (or a compare): each record received becomes known; a list read to its end replaces
// every known PLU.
class KnownRecorder : public Observer {
  public:
    // table: the download's table; null for an upload.
    KnownRecorder(std::string port, scale::RowKind kind, const tables::Table* table,
                  Observer& next);

    void RowStarting(int row, int rows) override { next_.RowStarting(row, rows); }
    void RowDone(int row, const tables::Row& cells) override;
    void RowFailed(const Failure& failure) override;
    void ListEnded(int request) override { next_.ListEnded(request); }
    bool StopNow() override { return next_.StopNow(); }

    // Writes what the run confirmed. Empty when written, else why not in the operator's words.
    std::string Finish(const Report& report);

  private:
    std::string port_;
    scale::RowKind kind_;
    const tables::Table* table_;
    Observer& next_;
    KnownRecords known_;
    KnownRecords received_;
};

// The data rows a changed-only load sends, in table order, and how many it leaves out.
struct ChangePlan {
    std::vector<int> rows;
    int skipped = 0;
};
// Rows whose record differs from the known one or is not known, and rows the download would
// refuse (so that it stops there as a full load would). A row followed by another of the same
// number is left out: a full load would overwrite it, and sending it alone would leave the scale
// holding it instead of the later one.
ChangePlan PlanChanges(const tables::Table& table, scale::RowKind kind, const KnownRecords& known);

// What asking the scale for some of its records found.
struct KnownCheck {
    bool holds = false;
    std::optional<Failure> failure;  // the line failed: nothing could be told
    int position = 0;                // the first position that did not match
    std::chrono::milliseconds duration{0};
};
// The positions asked for: the first, the last known, and three spread between.
std::vector<int> CheckPositions(int knownPlus);
// Asks the scale for its records at CheckPositions and compares each with the known record of the
// PLU number it carries. A position past the scale's end, or a record whose PLU is not known or
// differs, means the known contents cannot be trusted: a price keyed in on the scale, or the cable
// now at another scale. No known PLU holds nothing.
KnownCheck CheckKnown(scale::Link& link, const KnownRecords& known);

}  // namespace jobs
