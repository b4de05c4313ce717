#pragma once
// What a download, upload or compare shows while it runs: the window implements it, and the
// jobs' observers see the window through it only.

#include <QString>

#include "Dialogs.h"
#include "Exchanges.h"
#include "Table.h"

struct LinkFailure;

class RunScreen {
  public:
    // The bar's position; a count past its end stretches it.
    virtual void ShowProgress(int value) = 0;
    virtual void RowUnderWay(int row) = 0;  // the table row a download is sending
    virtual void ErrorBox(const QString& text) = 0;
    virtual Answer Question(const QString& text) = 0;
    virtual void MarkBadCell(int column, int row) = 0;  // a cell the download refused
    // A failed exchange as its failure table says: box, controls, grid shown.
    virtual void ReportLinkFailure(const LinkFailure& failure) = 0;
    // The controls while the line is busy, and after; with the bar and Stop for a download.
    virtual void ButOff() = 0;
    virtual void ButOn() = 0;
    virtual void StartDownloadView() = 0;
    // Serves one pass of events so Stop can be pressed; true, with Stop hidden, once it was.
    virtual bool StopPressed() = 0;
    // The upload: the PLU number asked for, the record received, how the exchange ended, and
    // Stop served with the new rows painted and, unless it was pressed, kept in view.
    virtual void RecordRequested(int request) = 0;
    virtual void AppendUploadedRow(const tables::Row& cells) = 0;
    virtual void TakeUploadOutcome(scale::UploadOutcome outcome) = 0;
    virtual bool StopPressedShowingNewRows() = 0;

  protected:
    ~RunScreen() = default;
};
