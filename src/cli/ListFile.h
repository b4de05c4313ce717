#pragma once
// A list file for a download: read as the window opens it, every row checked before anything
// is sent.

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "Table.h"

namespace cli {

// ".plu" or ".msg", whatever the case; nothing for another extension.
std::optional<tables::ListKind> KindOfFileName(const QString& path);

struct BadRow {
    int row = 0;         // 1 for the first record
    std::string column;  // the column's title
    std::string reason;
};

// "Строка 2, «Цена»: не число: «12,5»"
std::string BadRowText(const BadRow& bad);

struct ListFile {
    tables::Table table;
    tables::ListKind kind = tables::ListKind::Plu;
    std::string problem;          // why the file is no list; empty when it is one
    std::vector<BadRow> badRows;  // every row that would not pass the download's check
    bool Usable() const { return problem.empty() && badRows.empty(); }
};

ListFile LoadListFile(const QString& path, tables::ListKind kind);

// Every row of the table that the download would refuse, in order.
std::vector<BadRow> CheckRows(const tables::Table& table, tables::ListKind kind);

}  // namespace cli
