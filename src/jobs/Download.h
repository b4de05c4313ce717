#pragma once
// The download job: every data row of a table into the scale, one exchange a row, each row
// checked before it goes so that nothing is sent truncated.

#include "Job.h"
#include "Link.h"
#include "Table.h"

namespace jobs {

// The rows a download sends: 1 .. RowCount() - 2, the last row being the end marker's.
int DataRows(const tables::Table& table);
// Their numbers, in order.
std::vector<int> DataRowNumbers(const tables::Table& table);

// Sends the data rows. A row that fails its check
// or its exchange ends the job, after the observer was told.
Report RunDownload(scale::Link& link, const tables::Table& table, scale::RowKind kind,
                   Observer& observer);
// Sends the given data rows in the given order (a changed-only load), as the full load sends
// them all. The observer counts rows by their place in `rows`; a failure names the table row.
Report RunDownload(scale::Link& link, const tables::Table& table, scale::RowKind kind,
                   const std::vector<int>& rows, Observer& observer);

}  // namespace jobs
