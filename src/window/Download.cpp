// The download: every data row of the table into the scale, one exchange per row, as a job the
// window observes.

#include "Download.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "Com.h"
#include "DownloadView.h"
#include "GridModel.h"
#include "Runs.h"
#include "Texts.h"
#include "TransferOutcome.h"

void TForm1::Button21Click() {
    // Without an open port nothing is shown, written or sent.
    if (!RequirePort()) return;
    RunExclusive([this] { DownloadRun(); });
}

void TForm1::DownloadRun() {
    const scale::RowKind kind = jobs::RowKindOf(ListKindNow());
    StartDownloadView();
    DownloadView<> view(*this);
    const jobs::KeptDownload kept =
        jobs::LoadWholeList(link_, Comm.DeviceName(), Grid(), kind, view);
    KeepKnown(kept.knownNote);
    EndDownloadView(kept.report, jobs::DataRows(Grid()), -1);
}

void TForm1::StartDownloadView() {
    Label14->show();
    Label14->repaint();
    ProgressBar1->show();
    ProgressBar1->setValue(0);
    StartStoppableRun();
    WriteDownloadEndMarker();
}

void TForm1::EndDownloadView(const jobs::Report& report, int rows, int skipped) {
    statusLine_->showMessage(texts::SentStatus(report.rowsDone, rows, report.stopped,
                                               report.failure ? report.failure->row : 0, skipped));
    // Past the last row, as a loop over the rows leaves its counter.
    if (!report.failure && !report.stopped) CurRow = report.rowsDone + 1;
    ButOn();
    // The upload button stays off after a message list, whatever ended the run.
    if (!TableIsPlu) Button22->setEnabled(false);
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

void TForm1::MarkBadCell(int column, int row) {
    model_->SetCell(column, row, "???");
}

void TForm1::ShowProgress(int value) {
    if (value > ProgressBar1->maximum()) ProgressBar1->setMaximum(value);
    ProgressBar1->setValue(value);
}
