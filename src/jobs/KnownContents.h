#pragma once
// What each scale is known to hold, kept per port between runs, so that a daily price update can
// send only the rows that changed. Only what the scale confirmed is kept: a row whose exchange
// ended well, a record it sent. A record the scale may or may not hold is never claimed, since a
// load that trusts a wrong claim would leave a wrong price on the scale.
//
// $XDG_STATE_HOME/qvscale/scales/COM2.plu and COM2.msg (~/.local/state/...), table files of the
// records as the scale holds them, written atomically, and beside each a journal of the claims a
// download made since (KnownJournal.h). A run that writes records first stops claiming them on
// the disk, then claims each again once the scale confirmed it: a kill or a power cut at any
// instant leaves claims the scale holds.

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
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

// The file's records with the journal's claims over them. Nothing when neither is kept for the
// port, or the file cannot be read.
std::optional<KnownRecords> LoadKnown(const std::string& port, scale::RowKind kind);
// How many records are known for the port, and when the file or its journal last changed.
struct KnownHeld {
    int records = 0;
    std::chrono::system_clock::time_point since;
};
std::optional<KnownHeld> KnownHeldBy(const std::string& port, scale::RowKind kind);
// Replaces the file with these records and folds the journal away. On failure both are removed,
// so that they cannot go on claiming what this run undid, and error names the cause.
bool SaveKnown(const std::string& port, scale::RowKind kind, const KnownRecords& records,
               std::string& error);
// After the scale has shown that what is known is not what it holds, none of it can be trusted.
void ForgetKnown(const std::string& port, scale::RowKind kind);

// What became of the claims a run that writes records dropped before its first byte.
enum class ClaimsDropped {
    Durably,    // they are gone from the disk; the run's confirmations will be kept
    Forgotten,  // the file could not be rewritten and was removed: nothing is known any more
    Stuck,      // it could be neither rewritten nor removed and may go on claiming them
};

// Keeps a port's known contents up to date from a run's events, passing each on to `next`.
// A download: each row that went well becomes known, a row whose exchange failed is forgotten.
// An upload (or a compare): each record received becomes known; a list read to its end replaces
// every known PLU.
class KnownRecorder : public Observer {
  public:
    // table: the download's table; null for an upload.
    // known: what is known of the port, when the caller has just read it; else it is read here.
    KnownRecorder(std::string port, scale::RowKind kind, const tables::Table* table, Observer& next,
                  const KnownRecords* known = nullptr);

    void RowStarting(int row, int rows) override;
    void RowDone(int row, const tables::Row& cells) override;
    void RowFailed(const Failure& failure) override;
    void ListEnded(int request) override { next_.ListEnded(request); }
    bool StopNow() override { return next_.StopNow(); }

    // A download calls this before its first byte: the records of these table rows stop being
    // claimed on the disk, durably. Unless it returns Durably, error says why in the operator's
    // words; when Stuck, nothing of this run will be kept.
    ClaimsDropped StopClaiming(const std::vector<int>& rows, std::string& error);

    // Writes what the run confirmed. Empty when written, else why not in the operator's words.
    std::string Finish(const Report& report);

  private:
    void Journal(const tables::Row& record);
    void FlushJournal();

    std::string port_;
    scale::RowKind kind_;
    const tables::Table* table_;
    Observer& next_;
    KnownRecords known_;
    KnownRecords received_;
    bool stuck_ = false;
    // Each number's last place among the rows the download sends: only a record that no later
    // row of the run overwrites may be claimed before the run ends.
    std::map<std::int32_t, int> lastPlace_;
    // The table rows the download sends, by place; the claims dropped for them, and the numbers
    // of those whose bytes may have reached the scale. A dropped claim no byte was sent for is
    // still true at the end.
    std::vector<int> places_;
    KnownRecords dropped_;
    std::set<std::int32_t> mayHaveSent_;
    bool journaling_ = false;
    std::vector<tables::Row> pending_;
    std::chrono::steady_clock::time_point lastFlush_;
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
