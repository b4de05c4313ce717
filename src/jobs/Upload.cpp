#include "Upload.h"

namespace jobs {

Report RunUpload(scale::Link& link, Observer& observer) {
    const auto start = std::chrono::steady_clock::now();
    Report report;
    for (int request = 1;; ++request) {
        observer.RowStarting(request, 0);
        scale::PluCells cells;
        const scale::UploadOutcome outcome = scale::UploadPlu(link, request, cells);
        const bool last = outcome != scale::UploadOutcome::Record;
        if (outcome == scale::UploadOutcome::Record) {
            ++report.rowsDone;
            observer.RowDone(request, cells);
        } else if (outcome == scale::UploadOutcome::EndOfList) {
            observer.ListEnded(request);
        } else {
            report.failure = Failure{request, scale::RowProblem::None, -1, outcome};
            observer.RowFailed(*report.failure);
        }
        if (observer.StopNow()) report.stopped = true;
        if (report.stopped || last) break;
    }
    report.duration = ElapsedSince(start);
    return report;
}

}  // namespace jobs
