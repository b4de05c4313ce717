#pragma once
// What the window says to the operator besides the captions the layout sets once: box texts,
// save prompts, file-dialog titles and filters, and the save dialog's first file name. Each has
// this one home, so a text shown from two commands cannot drift apart.

#include <QString>
#include <QStringList>

#include "TableFile.h"

namespace texts {

// Transfers.
QString LinkCheck();   // the handshake failed, or the scale fell silent
QString PortNotSet();  // a command that needs the port before "OK"
QString NoDevice();    // a COM name that leads to nothing, as the port list's tip says
QString NoMessageFunction();
QString PluNumberRefused();
QString MessageNumberRefused();
QString MessageNotSent();
QString BadCell();
QString BadShelfLife();
QString DataSent();
QString DataReceived();
// What a run did, for the status line beside its box. failedRow is 0 when no row failed;
// skipped is -1 unless only the changed rows were sent.
QString SentStatus(int done, int rows, bool stopped, int failedRow, int skipped);
QString ReceivedStatus(int records, bool stopped, bool failed);

// Comparing with the scale and sending only what changed.
QString ComparePluOnly();
QString NoPluListToCompare();
QString CompareProgress();  // the progress bar's text, %v the records read
QString ScaleValue(const QString& value);
QString MissingInScale();
QString CompareBadRow(const QString& problem, int row);
// The PLU numbers only in the scale are listed, the first fifty of them.
QString CompareSummary(int equal, int differing, int missing, const QStringList& onlyInScale);
QString NothingKnown(const QString& port);
// ports: the scales the shop's window asks about at once; empty for the window's own port.
QString KnownStale(const QString& ports = {});
QString ChangesNotKeepable(const QString& why);
// counts: the messages to send of the list's, "3 из 10", for one scale or for each.
QString MessagesUnchecked(const QString& counts);
QString PartOf(int part, int whole);  // "3 из 10"
QString NothingChanged(int rows);

// Table files.
QString NothingToSave();
QString ChooseListKindFirst();
// The error box text for a file Open could not take; empty when it was read.
QString ReadFailure(tables::ReadResult result, const QString& path);
QString TooManyRecords(const QString& path, qint64 maxRecords);
QString SaveFailed(const QString& path, const QString& cause);

// Save prompts of the commands that would replace an edited table.
QString NewPluListPrompt();
QString NewMsgListPrompt();
QString OpenPrompt();
QString ImportCsvTitle();
QString ExportCsvTitle();
// Every kind of price list first, then each kind.
QString CsvOpenFilter();
// UTF-8 first; code page 1251 second, for older spreadsheets; a workbook third.
QString CsvSaveFilter();
QString UploadPrompt();
QString ClosePrompt();

// File dialogs. A filter is "description|pattern"; a message list's is the same for both.
QString NoName();
QString PluOpenFilter();
QString PluSaveFilter();
QString MsgFilter();
QString PluSuffix();
QString MsgSuffix();
QString OpenPluTitle();
QString OpenMsgTitle();

// The grid's status line and find bar.
QString ListStatus(bool plu, int records, int row);
QString Pasted(int rows, int columnsCut, int rowsCut);
QString FindCaption();
QString NotFound();

// Captions a command sets, and the information box.
QString PortSetUpTitle();
QString ErrorCaption();
QString About();

}  // namespace texts
