#pragma once
// What the operator decides before a file becomes the list: which row is the header, what each
// column is, and for a text file its encoding and delimiter. Made over the file's first rows,
// started from the choice remembered for the header or else from a guess, and shown as the
// import would read those rows.

#include <optional>
#include <string>
#include <vector>

#include "ColumnChoice.h"
#include "CsvFile.h"
#include "CsvImport.h"
#include "SheetFile.h"

namespace jobs {

class ImportChoice {
  public:
    // A file's bytes; format for a workbook (its first sheet), nothing for a text file.
    ImportChoice(std::string bytes, std::optional<tables::SheetFormat> format);

    // Why the file gives no rows to choose by (Russian, UTF-8); empty when it gives some.
    const std::string& Refusal() const { return refusal_; }
    bool IsText() const { return !format_; }
    tables::CsvEncoding Encoding() const { return encoding_; }
    char Delimiter() const { return delimiter_; }
    // A text file read again so; the choice starts again too, for the columns may be others.
    void SetEncoding(tables::CsvEncoding encoding);
    void SetDelimiter(char delimiter);

    // The first rows with something in them (code page 1251) and the file's lines they are on.
    const std::vector<std::vector<std::string>>& Rows() const { return rows_; }
    const std::vector<int>& Lines() const { return lines_; }
    // The cells of the widest of those rows.
    int ColumnCount() const { return static_cast<int>(targets_.size()); }

    // An index into Rows(); -1 when there are none.
    int HeaderRow() const { return header_; }
    void SetHeaderRow(int row);
    // The header row's cells; empty when there is none.
    std::vector<std::string> HeaderCells() const;

    // What each column is taken as: a key of tables::TargetOfKey, or empty for none.
    const std::vector<std::string>& Targets() const { return targets_; }
    // A key TargetOfKey does not know, or a column past the rows, changes nothing.
    void SetTarget(int column, const std::string& key);
    // True when the targets came from a choice remembered for the header row.
    bool FromRemembered() const { return remembered_; }

    // The targets by the header's titles, as they are remembered; by number where a title
    // cannot name its column (empty, repeated, a number, or holding '=').
    tables::ColumnChoice Choice() const;
    ImportOptions Options() const;
    ImportPreview Preview() const;
    // The whole file as chosen; a file taken keeps its choice for the header's titles.
    ImportReport Import() const;

  private:
    void ReadRows(const tables::CsvText& told);
    void Start();
    void Apply(const tables::ColumnChoice& choice);

    std::string bytes_;
    std::optional<tables::SheetFormat> format_;
    std::string refusal_;
    tables::CsvEncoding encoding_ = tables::CsvEncoding::Utf8;
    char delimiter_ = ';';
    std::vector<std::vector<std::string>> rows_;
    std::vector<int> lines_;
    int header_ = -1;
    std::vector<std::string> targets_;
    bool remembered_ = false;
};

}  // namespace jobs
