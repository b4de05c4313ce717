#pragma once
// Table files: one cell per line, CR LF, nine lines a record, then "***".

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Table.h"

namespace tables {

constexpr std::int64_t kMaxTableFileBytes = 64LL * 1024 * 1024;

// The bytes of a file holding data rows 1..dataRows (cut to the rows the table has).
std::string TableFileBytes(const Table& table, int dataRows);

// Writes atomically: on failure the earlier file stays whole and error names the cause in a few
// Russian words for the operator ("Диск переполнен", "Папка не существует", ...).
bool WriteTableFile(const QString& path, const Table& table, int dataRows, QString& error);

// The most records a table file may hold. PLU and message numbers are 16-bit, so a longer file
// is no list; refusing it keeps Open quick and small whatever the file holds (64 MiB of bare
// line ends would otherwise make 7 million rows).
constexpr std::int64_t kMaxTableRecords = 65535;

// True when Open would build more than kMaxTableRecords records from the bytes. Stops reading
// once past the limit.
bool HasTooManyRecords(const std::string& bytes);

// The rows Open builds from a file's bytes: data rows then the marker row (at least one data
// row). Titles are not included. Linear in the size of the bytes, whatever they hold.
std::vector<Row> ParseTableFile(const std::string& bytes);

// True for bytes no editor or spreadsheet saves as text: a NUL, or control characters (other than
// tab and line ends) more often than any text has them.
bool LooksBinary(std::string_view bytes);

enum class ReadResult { Ok, CannotOpen, TooLarge };
// Files over kMaxTableFileBytes are not read.
ReadResult ReadTableFile(const QString& path, std::string& bytes);

}  // namespace tables
