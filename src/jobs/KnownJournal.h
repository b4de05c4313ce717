#pragma once
// The claims a download makes while it runs, appended beside the known contents' file so that a
// long run need not rewrite that file for every batch. Each entry is a record's nine cells, one a
// line, and a line with their checksum: a tail cut short by a kill or a power cut, or never
// synced, fails its checksum and is left out, so it can cost a claim but never make one.

#include <string>
#include <vector>

#include "Table.h"

namespace jobs {

// The journal kept beside the known contents' file at knownPath.
std::string JournalPath(const std::string& knownPath);

// The bytes of one entry.
std::string JournalEntry(const tables::Row& record);

// The records of the journal's whole entries, in the order written, up to the first entry that is
// cut short or damaged. None when there is no journal.
std::vector<tables::Row> ReadJournal(const std::string& path);

// Appends an entry for each record and syncs them to the disk. On failure error names the cause
// in the operator's words; what was appended before the failure may or may not count.
bool AppendJournal(const std::string& path, const std::vector<tables::Row>& records,
                   std::string& error);

}  // namespace jobs
