#pragma once
// The compare job: the scale's PLU list, read as the upload reads it, against a table.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Job.h"
#include "Link.h"
#include "Table.h"

namespace jobs {

struct FieldDifference {
    int column = 0;
    std::string list;   // the table's cell as written
    std::string scale;  // the scale's field as the upload reads it
};

struct ListedRecord {
    int row = 0;  // the table row
    std::int32_t plu = 0;
    std::vector<FieldDifference> fields;  // empty for a record the scale does not hold
};

struct Comparison {
    int equal = 0;
    std::vector<ListedRecord> differing;
    std::vector<ListedRecord> missing;
    std::vector<tables::Row> onlyInScale;  // in PLU order
    bool Same() const { return differing.empty() && missing.empty() && onlyInScale.empty(); }
};

// By PLU number, each field as the scale holds it. A row followed by another of the same number
// is left out, as a load would leave the later one on the scale. Rows are expected to pass the
// download's check; one that does not is left out.
Comparison CompareWithScale(const tables::Table& table, const std::vector<tables::Row>& records);

struct CompareReport {
    Report report;
    std::vector<tables::Row> records;  // what the scale sent, in its order
    // Only when the whole list was read: a part of it would pass for missing records.
    std::optional<Comparison> comparison;
};

// Reads the scale's list as RunUpload does, with the observer told of each record, then
// compares it with the table.
CompareReport RunCompare(scale::Link& link, const tables::Table& table, Observer& observer);

}  // namespace jobs
