#pragma once
// A list's CSV file into the table: read, every row checked as the download checks it, and
// taken whole or not at all.

#include <QString>
#include <string>
#include <vector>

#include "Table.h"

namespace jobs {

// The most problems a report lists; the rest are only counted.
constexpr int kProblemsListed = 50;

struct ImportProblem {
    int line = 0;        // the line of the file, counting from 1
    std::string column;  // the column's title in the file
    std::string reason;
};

struct ImportReport {
    std::string refusal;  // why the file is no list, Russian, UTF-8
    tables::ListKind kind = tables::ListKind::Plu;
    // Data rows then the marker row, for tables::LoadRows; empty unless imported.
    std::vector<tables::Row> rows;
    std::vector<ImportProblem> problems;  // the first kProblemsListed, by line
    int problemCount = 0;
    std::vector<std::string> ignoredColumns;
    std::vector<int> namesCut;  // lines whose name did not fit the two name lines
    bool Imported() const { return refusal.empty() && problemCount == 0; }
};

ImportReport ImportCsvBytes(const std::string& bytes);
// Files over tables::kMaxTableFileBytes are refused unread.
ImportReport ImportCsvFile(const QString& path);

// The report in the operator's words, for a message box or a terminal: the rows taken with
// the names cut and the columns ignored, or the problems, or the refusal.
std::string ReportText(const ImportReport& report);

// The notes of a file read: names cut to fit the two lines, columns left out. Empty when there is
// nothing to note.
std::string NamesCutNote(const ImportReport& report);
std::string IgnoredColumnsNote(const ImportReport& report);

}  // namespace jobs
