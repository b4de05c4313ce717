#pragma once
// A list file for a download: read as the window opens it, every row checked before anything
// is sent.

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "CsvImport.h"
#include "Table.h"

namespace cli {

// ".plu" or ".msg", whatever the case; nothing for another extension.
std::optional<tables::ListKind> KindOfFileName(const QString& path);
// "plu" or "msg": a kind as events, receipts and the hub's state name it.
const char* KindName(tables::ListKind kind);
// "список PLU" or "список сообщений".
const char* KindText(tables::ListKind kind);
// ".csv", whatever the case: a list whose kind its header gives.
bool IsCsvFileName(const QString& path);
// ".csv" or a workbook's extension (.xlsx, .ods, .xls): a list read through the import.
bool IsImportedFileName(const QString& path);

struct BadRow {
    int row = 0;         // 1 for the first record, or the line of a CSV file
    std::string column;  // the column's title
    std::string reason;
    bool fileLine = false;  // row is a line of the file, as an editor counts them
    std::string record;     // "PLU 2", as the grid shows the row; empty when not known
};

// "Строка 2, «Цена»: не число: «12,5»"
std::string BadRowText(const BadRow& bad);

struct ListFile {
    tables::Table table;
    tables::ListKind kind = tables::ListKind::Plu;
    std::string problem;          // why the file is no list; empty when it is one
    std::vector<BadRow> badRows;  // rows that would not pass the download's check
    int badRowCount = 0;          // all of them, when a CSV file lists only the first ones
    // A CSV file's report, for its notes; its rows are in the table.
    std::optional<jobs::ImportReport> imported;
    bool Usable() const { return problem.empty() && badRows.empty(); }
};

// A table file of the given kind, or a CSV file or workbook whose header gives the kind; a kind
// given for one must be the one its header gives.
ListFile LoadListFile(const QString& path, std::optional<tables::ListKind> kind,
                      const jobs::ImportOptions& import = {});

}  // namespace cli
