#pragma once
// Table files: one cell per line, CR LF, nine lines a record, then "***".

#include <cstdint>
#include <string>
#include <vector>

#include "Table.h"

namespace tables {

constexpr std::int64_t kMaxTableFileBytes = 64LL * 1024 * 1024;

// The bytes of a file holding data rows 1..dataRows.
std::string TableFileBytes(const Table& table, int dataRows);

// Writes atomically: on failure the earlier file stays whole and error names the cause.
bool WriteTableFile(const std::string& path, const Table& table, int dataRows,
                    std::string& error);

// The rows Open builds from a file's bytes: data rows then the marker row (at least one data
// row). Titles are not included.
std::vector<Row> ParseTableFile(const std::string& bytes);

enum class ReadResult { Ok, CannotOpen, TooLarge };
ReadResult ReadTableFile(const std::string& path, std::string& bytes);

}  // namespace tables
