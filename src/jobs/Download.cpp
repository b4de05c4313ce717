#include "Download.h"

#include <algorithm>
#include <numeric>

#include "Codec.h"

namespace jobs {

std::vector<int> DataRowNumbers(const tables::Table& table) {
    std::vector<int> rows(static_cast<std::size_t>(DataRows(table)));
    std::iota(rows.begin(), rows.end(), 1);
    return rows;
}

namespace {

// The row must have passed its check (scale::ValidateRow).
ExchangeOutcome SendRow(scale::Link& link, const tables::Table& table, int row,
                        scale::RowKind kind) {
    const tables::Row& cells = table.RowAt(row);
    if (kind == scale::RowKind::Plu)
        return scale::DownloadPlu(link, scale::ValidateRow(cells, kind).plu);
    std::array<std::string, 8> lines;
    std::copy(cells.begin() + tables::MsgColumn::FirstLine, cells.end(), lines.begin());
    return scale::DownloadMsg(link, scale::MessageNumberOf(cells[tables::MsgColumn::Number]),
                              lines);
}

bool Succeeded(const ExchangeOutcome& outcome) {
    return outcome == ExchangeOutcome{scale::PluOutcome::Ok} ||
           outcome == ExchangeOutcome{scale::MsgOutcome::Ok} ||
           outcome == ExchangeOutcome{scale::UploadOutcome::Record};
}

}  // namespace

int DataRows(const tables::Table& table) {
    return std::max(table.RowCount() - 2, 0);
}

Report RunDownload(scale::Link& link, const tables::Table& table, scale::RowKind kind,
                   Observer& observer) {
    return RunDownload(link, table, kind, DataRowNumbers(table), observer);
}

Report RunDownload(scale::Link& link, const tables::Table& table, scale::RowKind kind,
                   const std::vector<int>& rows, Observer& observer) {
    const auto start = std::chrono::steady_clock::now();
    Report report;
    const int count = static_cast<int>(rows.size());
    for (int nth = 1; nth <= count; ++nth) {
        const int row = rows[static_cast<std::size_t>(nth - 1)];
        observer.RowStarting(nth, count);
        const scale::RowCheck check = scale::ValidateRow(table.RowAt(row), kind);
        if (!check.ok()) {
            report.failure = Failure{row, check.problem, check.column, std::nullopt};
            observer.RowFailed(*report.failure);
            break;
        }
        scale::NewQue(link.comm);
        const ExchangeOutcome outcome = SendRow(link, table, row, kind);
        if (Succeeded(outcome)) {
            ++report.rowsDone;
            observer.RowDone(nth, table.RowAt(row));
        } else {
            report.failure = Failure{row, scale::RowProblem::None, -1, outcome};
            observer.RowFailed(*report.failure);
        }
        if (observer.StopNow()) report.stopped = true;
        if (report.stopped || report.failure) break;
    }
    report.duration = ElapsedSince(start);
    return report;
}

}  // namespace jobs
