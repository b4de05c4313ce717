#include "Compare.h"

#include <map>

#include "Download.h"
#include "KnownContents.h"
#include "Upload.h"

namespace jobs {

namespace {

// Keeps the records as they come and passes every event on.
class Collector : public Observer {
  public:
    explicit Collector(Observer& next) : next_(next) {}
    void RowStarting(int row, int rows) override { next_.RowStarting(row, rows); }
    void RowDone(int row, const tables::Row& cells) override {
        records.push_back(cells);
        next_.RowDone(row, cells);
    }
    void RowFailed(const Failure& failure) override { next_.RowFailed(failure); }
    void ListEnded(int request) override { next_.ListEnded(request); }
    bool StopNow() override { return next_.StopNow(); }
    std::vector<tables::Row> records;

  private:
    Observer& next_;
};

}  // namespace

Comparison CompareWithScale(const tables::Table& table, const std::vector<tables::Row>& records) {
    std::map<std::int32_t, const tables::Row*> held;
    for (const tables::Row& record : records) held[RecordNumber(record)] = &record;
    std::map<std::int32_t, int> listed;  // number -> the last row carrying it
    std::map<int, tables::Row> canonical;
    for (int r = 1; r <= DataRows(table); ++r) {
        if (auto record = CanonicalRecord(table.RowAt(r), scale::RowKind::Plu)) {
            listed[RecordNumber(*record)] = r;
            canonical[r] = std::move(*record);
        }
    }
    Comparison result;
    for (const auto& [row, record] : canonical) {
        const std::int32_t plu = RecordNumber(record);
        if (listed[plu] != row) continue;
        const auto at = held.find(plu);
        if (at == held.end()) {
            result.missing.push_back({row, plu, {}});
            continue;
        }
        ListedRecord differing{row, plu, {}};
        for (int c = 0; c < tables::kColumns; ++c) {
            if (record[c] != (*at->second)[c])
                differing.fields.push_back({c, table.Cell(c, row), (*at->second)[c]});
        }
        if (differing.fields.empty())
            ++result.equal;
        else
            result.differing.push_back(std::move(differing));
    }
    for (const auto& [plu, record] : held) {
        if (!listed.count(plu)) result.onlyInScale.push_back(*record);
    }
    return result;
}

CompareReport RunCompare(scale::Link& link, const tables::Table& table, Observer& observer) {
    Collector collector(observer);
    CompareReport result;
    result.report = RunUpload(link, collector);
    result.records = std::move(collector.records);
    if (!result.report.failure && !result.report.stopped)
        result.comparison = CompareWithScale(table, result.records);
    return result;
}

}  // namespace jobs
