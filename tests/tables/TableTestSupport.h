#pragma once
// Building tables and reading fixtures for the tables tests.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "CodePage1251.h"
#include "Table.h"

namespace tables {

// gtest prints a failed row as its nine cells.
inline void PrintTo(const Row& row, std::ostream* out) {
    *out << '{';
    for (const std::string& cell : row) *out << '"' << cell << "\" ";
    *out << '}';
}

}  // namespace tables

namespace tables::testing {

// A row whose cells are given from column 0 on; the rest are empty.
inline Row Cells(std::vector<std::string> cells) {
    Row row;
    for (std::size_t c = 0; c < cells.size(); ++c) row[c] = std::move(cells[c]);
    return row;
}

// Titles that differ from every cell of a record.
inline const Row kTitles = Cells({"T0", "T1", "T2", "T3", "T4", "T5", "T6", "T7", "T8"});

inline Row Marker() {
    return Cells({"***"});
}

// A record whose nine cells all differ from those of any other record, so a cell moved to the
// wrong row or column shows.
inline Row Record(const std::string& number) {
    Row row;
    row[0] = number;
    for (int c = 1; c < kColumns; ++c) row[c] = number + "." + std::to_string(c);
    return row;
}

inline std::vector<Row> RowsOf(const Table& table) {
    std::vector<Row> rows;
    for (int r = 0; r < table.RowCount(); ++r) rows.push_back(table.RowAt(r));
    return rows;
}

inline Table TableOf(const std::vector<Row>& rows) {
    Table table;
    table.SetRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) table.SetRow(static_cast<int>(r), rows[r]);
    return table;
}

// The fixture folder is named by QVSCALE_TEST_DATA; a run without it (the test program started
// by hand) finds the folder beside this one.
inline std::string DataPath(const std::string& name) {
    if (const char* folder = std::getenv("QVSCALE_TEST_DATA")) {
        return std::string(folder) + "/" + name;
    }
    const std::string here = __FILE__;
    return here.substr(0, here.rfind('/')) + "/../data/" + name;
}

// Read without the code under test, so a fixture's bytes are what the file holds.
inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) ADD_FAILURE() << "cannot read " << path;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// UTF-8 source text as code page 1251 bytes, as an accounting export writes it.
inline std::string Cp1251(const char* utf8) {
    return EncodeCp1251(QString::fromUtf8(utf8));
}

}  // namespace tables::testing
