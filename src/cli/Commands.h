#pragma once
// The commands; each returns the exit code.

#include <vector>

#include "CsvFile.h"
#include "ListFile.h"
#include "Output.h"
#include "PortRun.h"
#include "Settings.h"

namespace cli {

int RunDisplay(const Settings& settings, Output& output);
int RunDownload(const Settings& settings, Output& output);
int RunUpload(const Settings& settings, Output& output);
// A list from a table file to a CSV file or back, checked as a download checks it.
int RunConvert(const Settings& settings, Output& output);

// The kind a download of `file` takes: --kind, else the file's extension; nothing when neither
// says.
std::optional<tables::ListKind> KindToSend(const Settings& settings, const QString& file);

// How a refusal of a list to be sent ends.
constexpr const char* kNothingSent = "В весы ничего не передано";

// A list file read and checked, with a CSV file's import notes said; on a problem it is said,
// ending with nothingDone for bad rows, and exit code 3 is given, else 0.
int ReadList(const QString& file, std::optional<tables::ListKind> kind,
             const jobs::ImportOptions& import, const std::string& nothingDone, Output& output,
             ListFile& list);

// A list to a table file, a CSV file (by its extension) or, for "-", standard output as a table
// file; a failure is said and leaves an earlier file whole.
bool WriteList(const QString& path, const tables::Table& table, tables::ListKind kind,
               tables::CsvEncoding encoding, Output& output);

// skipped: the rows a changed-only load leaves out, -1 for any other run.
void RunStarted(Output& output, const std::string& port, jobs::RunKind kind, int rows,
                int skipped = -1);

// The whole list into one port.
PortResult SendToPort(const PortName& port, scale::Link& link, const ListFile& list,
                      Output& output);

// The list into every port of the settings at once; with --changed-only each scale gets only
// the rows it is not known to hold, and is refused with kDifferent when the known contents
// cannot be trusted, unless --full-if-unknown sends the whole list instead.
std::vector<PortResult> SendList(const Settings& settings, const ListFile& list, Output& output);

// Each port's summary, and the log's own trouble if any; gives the worst exit code.
int Summarize(const std::vector<PortResult>& results, Output& output);

}  // namespace cli
