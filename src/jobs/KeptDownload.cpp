#include "KeptDownload.h"

#include "Download.h"
#include "KnownContents.h"

namespace jobs {

namespace {

std::string StuckNote(const std::string& why, bool changedOnly) {
    return why + ". Этот файл не удаётся и удалить, так что " +
           (changedOnly ? "пересылать только изменения нельзя."
                        : "эта загрузка ничего о весах не запомнит: удалите его, прежде чем "
                          "пересылать изменения.");
}

}  // namespace

KeptDownload DownloadKeepingKnown(scale::Link& link, const std::string& port,
                                  const tables::Table& table, scale::RowKind kind,
                                  const std::vector<int>* rows, Observer& observer,
                                  const std::function<void()>& started, const KnownRecords* known) {
    const std::vector<int> sent = rows ? *rows : DataRowNumbers(table);
    KnownRecorder recorder(port, kind, &table, observer, known);
    KeptDownload kept;
    std::string why;
    switch (recorder.StopClaiming(sent, why)) {
        case ClaimsDropped::Durably:
            break;
        case ClaimsDropped::Forgotten:
            kept.knownNote = why;
            break;
        case ClaimsDropped::Stuck:
            kept.knownNote = StuckNote(why, rows != nullptr);
            if (rows) {
                kept.refused = true;
                return kept;
            }
            break;
    }
    if (started) started();
    kept.report = RunDownload(link, table, kind, sent, recorder);
    const std::string finish = recorder.Finish(kept.report);
    if (!finish.empty() && finish != kept.knownNote)
        kept.knownNote += (kept.knownNote.empty() ? "" : "\n") + finish;
    return kept;
}

}  // namespace jobs
