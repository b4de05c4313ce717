#include "Runs.h"

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
    log.WriteRun(port, RunKind::PluUpload, 0, kept.report);
    return kept;
}

KeptCompare CompareKeepingKnown(scale::Link& link, const std::string& port,
                                const tables::Table& table, Observer& observer, TransferLog& log) {
    KnownRecorder recorder(port, scale::RowKind::Plu, nullptr, observer);
    KeptCompare kept;
    kept.compared = RunCompare(link, table, recorder);
    kept.knownNote = recorder.Finish(kept.compared.report);
    log.WriteRun(port, RunKind::PluCompare, 0, kept.compared.report);
    return kept;
}

KeptDownload LoadWholeList(scale::Link& link, const std::string& port, const tables::Table& table,
                           scale::RowKind kind, Observer& observer, TransferLog& log) {
    KeptDownload kept = DownloadKeepingKnown(link, port, table, kind, nullptr, observer);
    log.WriteRun(port, DownloadKindOf(kind), DataRows(table), kept.report);
    return kept;
}

}  // namespace jobs
