// The download: every data row of the table into the scale, one exchange per row, as a job the
// window observes.

#include "Download.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "Com.h"
#include "DownloadSteps.h"
#include "GridModel.h"
#include "KeptDownload.h"
#include "Texts.h"
#include "TransferOutcome.h"

namespace {
const char* const kBadCellMark = "???";
}  // namespace

// Turns the job's rows into the progress bar, the failure boxes and Stop.
class TForm1::DownloadView : public jobs::Observer {
  public:
    explicit DownloadView(TForm1& form) : f_(form) {}

    void RowStarting(int row, int rows) override {
        f_.CurRow = row;
        f_.ProgressBar1->setValue(DownloadProgress(row, rows));
    }

    void RowFailed(const jobs::Failure& failure) override {
        if (failure.BadRow()) {
            f_.dialogs_->ErrorBox(RowProblemText(failure.problem));
            f_.model_->SetCell(failure.column, failure.row, kBadCellMark);
            return;
        }
        f_.ReportLinkFailure(*FailureOf(*failure.outcome));
    }

    bool StopNow() override { return f_.StopPressed(); }

  private:
    TForm1& f_;
};

void TForm1::Button21Click() {
    // Without an open port nothing is shown, written or sent.
    if (!RequirePort()) return;
    RunExclusive([this] { DownloadRun(); });
}

void TForm1::DownloadRun(const jobs::ChangePlan* changes) {
    const tables::ListKind kind = TableIsPlu ? tables::ListKind::Plu : tables::ListKind::Msg;
    Label14->show();
    Label14->repaint();
    ProgressBar1->show();
    ProgressBar1->setValue(0);
    ButOff();
    WriteDownloadEndMarker();
    TransferFailed = false;
    Button24->show();
    StopRequested = false;
    DownloadView view(*this);
    scale::Link link = LinkNow();
    const jobs::KeptDownload kept =
        jobs::DownloadKeepingKnown(link, Comm.DeviceName(), Grid(), jobs::RowKindOf(kind),
                                   changes ? &changes->rows : nullptr, view);
    if (!kept.knownNote.empty()) knownFailure_ = kept.knownNote;
    if (kept.refused) {
        ButOn();
        Label14->hide();
        ProgressBar1->hide();
        dialogs_->ErrorBox(texts::ChangesNotKeepable(QString::fromStdString(kept.knownNote)));
        return;
    }
    const jobs::Report& report = kept.report;
    LogRun(jobs::DownloadKindOf(kind), report,
           changes ? static_cast<int>(changes->rows.size()) : jobs::DataRows(Grid()),
           changes ? changes->skipped : -1);
    // Past the last row, as a loop over the rows leaves its counter.
    if (!report.failure && !report.stopped) CurRow = report.rowsDone + 1;
    ButOn();
    // The upload button stays off after a message list, whatever ended the run.
    if (kind == tables::ListKind::Msg) Button22->setEnabled(false);
    // A stop wins over a failure in the same row.
    if (report.stopped || !report.failure) dialogs_->PlainBox(texts::DataSent());
    Label14->hide();
    ProgressBar1->hide();
}

void TForm1::WriteDownloadEndMarker() {
    const int last = Grid().RowCount() - 1;
    for (int c = 0; c < tables::kColumns; ++c)
        model_->SetCell(c, last, c == tables::kNumberColumn ? tables::kEndMarker : "");
}

void TForm1::TransmitPlu() {
    TransmitRow(scale::RowKind::Plu);
}

void TForm1::TransmitMsg() {
    TransmitRow(scale::RowKind::Message);
}

void TForm1::TransmitRow(scale::RowKind kind) {
    scale::Link link = LinkNow();
    if (auto failure = FailureOf(jobs::SendRow(link, Grid(), CurRow, kind)))
        ReportLinkFailure(*failure);
}
