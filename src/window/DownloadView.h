#pragma once
// The window's observer of a download: the job's rows as the progress bar, the failure boxes and
// Stop.

#include <QProgressBar>

#include "Com.h"
#include "DownloadSteps.h"
#include "GridModel.h"
#include "Texts.h"
#include "TransferOutcome.h"

inline const char* const kBadCellMark = "???";

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
