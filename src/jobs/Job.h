#pragma once
// What a transfer job reports: through an observer while it runs, and as a report at its end.
// Jobs show nothing and serve no events: between rows they ask the observer whether to stop,
// and the observer does whatever its user needs there (a window serves its events).

#include <chrono>
#include <optional>
#include <type_traits>
#include <variant>

#include "Exchanges.h"
#include "RowValidation.h"
#include "Table.h"

namespace jobs {

// The exchanges' kind of row for a list of this kind.
inline scale::RowKind RowKindOf(tables::ListKind kind) {
    return kind == tables::ListKind::Plu ? scale::RowKind::Plu : scale::RowKind::Message;
}

// Rows pass between the table and scale's exchanges as they are, so scale's cell positions must
// be the table's columns; scale cannot see the table, so they meet here.
static_assert(std::is_same_v<scale::PluCells, tables::Row>);
static_assert(scale::PluCell::Plu == tables::Column::Plu &&
              scale::PluCell::Name1 == tables::Column::Name1 &&
              scale::PluCell::Name2 == tables::Column::Name2 &&
              scale::PluCell::Price == tables::Column::Price &&
              scale::PluCell::ShelfLife == tables::Column::ShelfLife &&
              scale::PluCell::Tare == tables::Column::Tare &&
              scale::PluCell::ItemCode == tables::Column::ItemCode &&
              scale::PluCell::Group == tables::Column::Group &&
              scale::PluCell::Message == tables::Column::Message);
static_assert(scale::MsgCell::Number == tables::MsgColumn::Number &&
              scale::MsgCell::FirstLine == tables::MsgColumn::FirstLine);

using ExchangeOutcome = std::variant<scale::PluOutcome, scale::MsgOutcome, scale::UploadOutcome>;

// The row that ended a job: either it did not pass the download's check (nothing was sent for
// it), or its exchange failed.
struct Failure {
    int row = 0;
    scale::RowProblem problem = scale::RowProblem::None;
    int column = -1;  // the failing cell, when the row did not pass its check
    std::optional<ExchangeOutcome> outcome;
    bool BadRow() const { return problem != scale::RowProblem::None; }
};

// Whole milliseconds since start on the monotonic clock, for a run's duration.
inline std::chrono::milliseconds ElapsedSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}

struct Report {
    int rowsDone = 0;
    std::optional<Failure> failure;
    // The observer asked to stop between rows; a stop after a failed row keeps the failure.
    bool stopped = false;
    std::chrono::milliseconds duration{0};
};

class Observer {
  public:
    virtual ~Observer() = default;
    // Row `row` of `rows` is about to go; rows is 0 when not known ahead (an upload). A
    // changed-only load counts only the rows it sends.
    virtual void RowStarting(int /*row*/, int /*rows*/) {}
    // The row went well: a download's row was stored, an upload's record came (cells by table
    // column).
    virtual void RowDone(int /*row*/, const tables::Row& /*cells*/) {}
    virtual void RowFailed(const Failure& /*failure*/) {}
    // An upload asked for a record the scale does not have: its list has ended.
    virtual void ListEnded(int /*request*/) {}
    // Asked after every row that was sent, never inside one. True ends the job there.
    virtual bool StopNow() { return false; }
};

}  // namespace jobs
