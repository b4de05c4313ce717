#pragma once
// What a download, upload or compare shows while it runs; the window implements it, and the
// job's observers see the window through it only.

#include <QString>

#include "Dialogs.h"
#include "Exchanges.h"
#include "Table.h"

struct LinkFailure;

class RunScreen {
  public:
    // The bar's position; a count past its end stretches it.
    virtual void ShowProgress(int value) = 0;
    // The table row a download is sending.
    virtual void RowUnderWay(int row) = 0;
    virtual void ErrorBox(const QString& text) = 0;
    virtual Answer Question(const QString& text) = 0;
    // A cell the download refused.
    virtual void MarkBadCell(int column, int row) = 0;
    // A failed exchange as its failure table says: box, controls, grid shown.
    virtual void ReportLinkFailure(const LinkFailure& failure) = 0;
    // The controls while the line is busy, and after.
    virtual void ButOff() = 0;
    virtual void ButOn() = 0;
    // The controls, the bar and Stop while the rows go in.
    virtual void StartDownloadView() = 0;
    // Serves one pass of events so Stop can be pressed; true, with Stop hidden, once it was.
    virtual bool StopPressed() = 0;
    // The upload: the PLU number asked for, the record received, and how the exchange ended.
    virtual void RecordRequested(int request) = 0;
    virtual void AppendUploadedRow(const tables::Row& cells) = 0;
    virtual void TakeUploadOutcome(scale::UploadOutcome outcome) = 0;
    // The rows just received painted at once, then kept in view.
    virtual void ShowNewRows() = 0;
    virtual void KeepNewRowsInView() = 0;

  protected:
    ~RunScreen() = default;
};
