#pragma once
// One reader for each kind of workbook, behind ForEachSheetRow.

#include <QString>
#include <string>

#include "CsvRecords.h"

namespace tables {

std::string ForEachXlsxRow(const std::string& bytes, const QString& sheet,
                           const CsvRecordSink& onRow);
std::string ForEachOdsRow(const std::string& bytes, const QString& sheet,
                          const CsvRecordSink& onRow);
std::string ForEachXlsRow(const std::string& bytes, const QString& sheet,
                          const CsvRecordSink& onRow);

}  // namespace tables
