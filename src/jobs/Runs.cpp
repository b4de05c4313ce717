#include "Runs.h"

#include "ChangesLoad.h"
#include "Download.h"
#include "KnownContents.h"
#include "Upload.h"

namespace jobs {

ReadoutRun RunReadout(scale::Link& link, const std::string& port, TransferLog& log) {
    ReadoutRun run;
    const auto start = std::chrono::steady_clock::now();
    run.outcome = scale::ReadDisplay(link, run.reading);
    run.duration = ElapsedSince(start);
    const bool read = run.outcome == scale::ReadoutOutcome::Ok;
    log.Write({port, RunKind::Readout, read ? 1 : 0, 1, OutcomeName(run.outcome), run.duration});
    return run;
}

KeptUpload UploadKeepingKnown(scale::Link& link, const std::string& port, Observer& observer,
                              TransferLog& log) {
    KnownRecorder recorder(port, scale::RowKind::Plu, nullptr, observer);
    KeptUpload kept;
    kept.report = RunUpload(link, recorder);
    kept.knownNote = recorder.Finish(kept.report);
    log.Write({port, RunKind::PluUpload, kept.report.rowsDone, 0, OutcomeName(kept.report),
               kept.report.duration},
              kept.report);
    return kept;
}

KeptCompare CompareKeepingKnown(scale::Link& link, const std::string& port,
                                const tables::Table& table, Observer& observer, TransferLog& log) {
    KnownRecorder recorder(port, scale::RowKind::Plu, nullptr, observer);
    KeptCompare kept;
    kept.compared = RunCompare(link, table, recorder);
    kept.knownNote = recorder.Finish(kept.compared.report);
    const Report& report = kept.compared.report;
    log.Write({port, RunKind::PluCompare, report.rowsDone, 0, OutcomeName(report), report.duration},
              report);
    return kept;
}

KeptDownload LoadWholeList(scale::Link& link, const std::string& port, const tables::Table& table,
                           scale::RowKind kind, Observer& observer, TransferLog& log,
                           const std::function<void()>& started) {
    KeptDownload kept = DownloadKeepingKnown(link, port, table, kind, nullptr, observer, started);
    log.Write({port, DownloadKindOf(kind), kept.report.rowsDone, DataRows(table),
               OutcomeName(kept.report), kept.report.duration},
              kept.report);
    return kept;
}

}  // namespace jobs
