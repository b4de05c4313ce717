// Uploading the scale's PLU list into the table.

#include <QPushButton>
#include <QStatusBar>

#include "Com.h"
#include "GridModel.h"
#include "GridView.h"
#include "Runs.h"
#include "Texts.h"
#include "TransferOutcome.h"

namespace {
// Past this many grid rows, titles included, the newest rows are kept in view.
constexpr int kRowsInView = 12;

// Turns the job's records into grid rows, the failure boxes, Stop and the scrolling view.
class UploadView : public jobs::Observer {
  public:
    explicit UploadView(RunScreen& screen) : s_(screen) {}

    void RowStarting(int request, int) override { s_.RecordRequested(request); }
    void RowDone(int, const tables::Row& cells) override { s_.AppendUploadedRow(cells); }
    void ListEnded(int) override { s_.TakeUploadOutcome(scale::UploadOutcome::EndOfList); }
    void RowFailed(const jobs::Failure& failure) override {
        s_.TakeUploadOutcome(std::get<scale::UploadOutcome>(*failure.outcome));
    }
    bool StopNow() override { return s_.StopPressedShowingNewRows(); }

  private:
    RunScreen& s_;
};

}  // namespace

void TForm1::Button22Click() {
    // Without an open port nothing could be read; the table must not be emptied for nothing.
    if (!RequirePort()) return;
    if (TableModified && !PassSavePrompt(texts::UploadPrompt())) return;
    RunExclusive([this] { UploadRun(); });
}

void TForm1::RecordRequested(int request) {
    UploadRequest = request;
    LinkAnswered = true;
}

bool TForm1::StopPressedShowingNewRows() {
    // The record's row and the marker row after it: repainting the whole grid for every record
    // cost most of the upload's CPU.
    GridView& grid = *StringGrid1;
    const int last = grid.model()->rowCount() - 1;
    const QRect rows =
        grid.visualRect(grid.model()->index(std::max(last - 1, 0), 0))
            .united(grid.visualRect(grid.model()->index(last, tables::kColumns - 1)));
    if (rows.isValid()) grid.viewport()->repaint(rows);
    if (StopPressed()) return true;
    if (Grid().RowCount() > kRowsInView && !TransferFailed) StringGrid1->ScrollDownOneRow();
    return false;
}

void TForm1::UploadRun() {
    TableModified = false;
    // The list kind enables the transfer buttons, so it comes before the busy state.
    ApplyListKind(tables::ListKind::Plu);
    StartStoppableRun();
    Memo1.clear();
    model_->Replace([](tables::Table& table) {
        table.SetRowCount(2);
        tables::WriteTitles(table, tables::ListKind::Plu);
        tables::WriteEndMarker(table, 1);
    });
    StringGrid1->history().Fresh();
    UploadRequest = 0;
    UploadView view(*this);
    const jobs::KeptUpload kept = jobs::UploadKeepingKnown(link_, Comm.DeviceName(), view);
    KeepKnown(kept.knownNote);
    const jobs::Report& report = kept.report;
    statusLine_->showMessage(
        texts::ReceivedStatus(report.rowsDone, report.stopped, report.failure.has_value()));
    StringGrid1->ScrollToTableRow(1);
    TableModified = true;
    // Edits typed while the rows came in are forgotten with the list they were made on.
    StringGrid1->history().Fresh(false);
    StringGrid1->show();
    ButOn();
    if (LinkAnswered) dialogs_->PlainBox(texts::DataReceived());
}

void TForm1::AppendUploadedRow(const tables::Row& cells) {
    model_->AppendRow();
    for (int c = 0; c < tables::kColumns; ++c)
        model_->SetCell(c, UploadRequest, cells[static_cast<std::size_t>(c)]);
    model_->SetCell(tables::kNumberColumn, UploadRequest + 1, tables::kEndMarker);
}

void TForm1::TakeUploadOutcome(scale::UploadOutcome outcome) {
    if (outcome == scale::UploadOutcome::Record) return;
    if (outcome == scale::UploadOutcome::EndOfList) {
        ButOn();
        StringGrid1->show();
        TransferFailed = true;
        return;
    }
    // Only a request byte left unanswered means nothing was received at all.
    if (outcome == scale::UploadOutcome::U1) LinkAnswered = false;
    ReportLinkFailure(*FailureOf(outcome));
}
