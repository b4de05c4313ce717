#pragma once
// A list's file into the table: a CSV file or a spreadsheet, its columns as their titles say or
// as the operator chose them, every row checked as the download checks it, and taken whole or
// not at all.

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "ColumnChoice.h"
#include "CsvFile.h"
#include "SheetFile.h"
#include "Table.h"

namespace jobs {

// The most problems a report lists; the rest are only counted.
constexpr int kProblemsListed = 50;

struct ImportProblem {
    int line = 0;        // the line of the file, counting from 1
    std::string record;  // "PLU 2" or "сообщение 2"; empty when the row's number is no number
    std::string column;  // the column's title in the file
    std::string reason;
};

// A row by the line of the file an editor shows and the record the grid shows.
struct RowPlace {
    int line = 0;
    std::string record;  // as ImportProblem's
    bool operator==(const RowPlace& o) const { return line == o.line && record == o.record; }
};

struct ImportOptions {
    std::optional<tables::ColumnChoice> columns;  // none: known titles or a remembered choice
    int headerRow = 0;                            // the header's line or sheet row; 0 to find it
    QString sheet;                                // a workbook's sheet; empty for the first
    bool remember = false;  // keep the columns given for files with the same header
    tables::CsvText text;   // a text file's encoding and delimiter; nothing: as detected
};

struct ImportReport {
    std::string refusal;  // why the file is no list, Russian, UTF-8
    tables::ListKind kind = tables::ListKind::Plu;
    // Data rows then the marker row, for tables::LoadRows; empty unless imported.
    std::vector<tables::Row> rows;
    // The first kProblemsListed, by line; a row may have several, one a bad cell.
    std::vector<ImportProblem> problems;
    int problemCount = 0;
    int badRows = 0;  // the rows with a problem
    std::vector<std::string> ignoredColumns;
    std::vector<RowPlace> namesCut;  // rows whose name did not fit the two name lines
    // The header row's titles (UTF-8) and its line; when refused for want of a choice of
    // columns (headerUnknown), the header as it is guessed, with the choice guessed for it and
    // the file's first rows (code page 1251) to choose by.
    std::vector<std::string> header;
    int headerLine = 0;
    bool headerUnknown = false;
    tables::ColumnChoice guess;
    std::vector<std::vector<std::string>> preview;
    bool remembered = false;      // the choice given is kept for files with this header
    std::string rememberFailure;  // why the choice given could not be kept
    bool Imported() const { return refusal.empty() && problemCount == 0; }
};

ImportReport ImportCsvBytes(const std::string& bytes, const ImportOptions& options = {});
ImportReport ImportSheetBytes(const std::string& bytes, tables::SheetFormat format,
                              const ImportOptions& options = {});
// A list's file read whole, or why it cannot be (Russian, UTF-8): it does not open, or it is over
// tables::kMaxTableFileBytes and is refused unread.
std::string ReadListFile(const QString& path, std::string& bytes);
// A spreadsheet by its extension (.xlsx, .ods, .xls), any other file as CSV. Files over
// tables::kMaxTableFileBytes are refused unread.
ImportReport ImportListFile(const QString& path, const ImportOptions& options = {});

// A row as the import takes it: its line, its cells (code page 1251) and what is wrong with it.
struct PreviewRow {
    int line = 0;
    tables::Row cells;
    std::vector<std::string> problems;  // "«Цена»: не число: «abc»", UTF-8
};

struct ImportPreview {
    std::string refusal;  // why no row can be read so, as the import would say it
    tables::ListKind kind = tables::ListKind::Plu;
    std::vector<PreviewRow> rows;  // the rows under the header
    std::vector<std::string> ignoredColumns;
};

// The first rows of a file (code page 1251, with their lines) read as the options say, every row
// kept with its problems: what an import of the whole file would take of them.
ImportPreview PreviewImport(const std::vector<std::vector<std::string>>& rows,
                            const std::vector<int>& lines, const ImportOptions& options);

// The report in the operator's words, for a message box or a terminal: the rows taken with
// the names cut and the columns ignored, or the problems, or the refusal.
std::string ReportText(const ImportReport& report);
// One problem as the report names it: "Строка 3, PLU 2, «Цена»: не число: «abc»".
std::string ProblemText(const ImportProblem& problem);

// The notes of a file read: names cut to fit the two lines, columns left out. Empty when there is
// nothing to note.
std::string NamesCutNote(const ImportReport& report);
std::string IgnoredColumnsNote(const ImportReport& report);

}  // namespace jobs
