#pragma once
// The window's observer of a download: the job's rows as the progress bar, the failure boxes and
// Stop. A changed-only load observes more than a download, so the observer it adds to is given.

#include "DownloadSteps.h"
#include "Job.h"
#include "RunScreen.h"
#include "TransferOutcome.h"

template <typename JobObserver = jobs::Observer>
class DownloadView : public JobObserver {
  public:
    explicit DownloadView(RunScreen& screen) : s_(screen) {}

    void RowStarting(int row, int rows) override {
        s_.RowUnderWay(row);
        s_.ShowProgress(DownloadProgress(row, rows));
    }

    void RowFailed(const jobs::Failure& failure) override {
        if (failure.BadRow()) {
            s_.ErrorBox(RowProblemText(failure.problem));
            s_.MarkBadCell(failure.column, failure.row);
            return;
        }
        s_.ReportLinkFailure(*FailureOf(*failure.outcome));
    }

    bool StopNow() override { return s_.StopPressed(); }

  protected:
    RunScreen& s_;
};
