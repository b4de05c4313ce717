// "Переслать изменения": only the rows that differ from what the scale is known to hold, once
// the scale has shown that it still holds it.

#include <QPushButton>

#include "Com.h"
#include "Download.h"
#include "KnownContents.h"
#include "Texts.h"
#include "TransferOutcome.h"

void TForm1::SendChangesClick() {
    if (!RequirePort()) return;
    if (!TableExists) {
        dialogs_->ErrorBox(texts::ChooseListKindFirst());
        return;
    }
    RunExclusive([this] { SendChangesRun(); });
}

void TForm1::SendChangesRun() {
    const tables::ListKind list = TableIsPlu ? tables::ListKind::Plu : tables::ListKind::Msg;
    const scale::RowKind kind = jobs::RowKindOf(list);
    const std::string port = Comm.DeviceName();
    const std::optional<jobs::KnownRecords> known = jobs::LoadKnown(port, kind);
    if (!known || known->empty()) {
        if (dialogs_->Question(texts::NothingKnown(QString::fromStdString(port))) == Answer::Yes)
            DownloadRun();
        return;
    }
    const jobs::ChangePlan plan = jobs::PlanChanges(Grid(), kind, *known);
    if (!KnownContentsHold(kind, *known, plan)) return;
    if (plan.rows.empty()) {
        LogRun(jobs::DownloadKindOf(list), {}, 0, plan.skipped);
        dialogs_->PlainBox(texts::NothingChanged(jobs::DataRows(Grid())));
        return;
    }
    DownloadRun(&plan);
}

bool TForm1::KnownContentsHold(scale::RowKind kind, const jobs::KnownRecords& known,
                               const jobs::ChangePlan& plan) {
    const int rows = static_cast<int>(plan.rows.size());
    if (kind == scale::RowKind::Message)
        return dialogs_->Question(texts::MessagesUnchecked(rows, jobs::DataRows(Grid()))) ==
               Answer::Yes;
    ButOff();
    scale::Link link = LinkNow();
    const jobs::KnownCheck check = jobs::CheckKnown(link, known);
    if (check.failure) {
        jobs::Report report;
        report.failure = check.failure;
        report.duration = check.duration;
        LogRun(jobs::RunKind::PluDownload, report, rows, plan.skipped);
        ReportLinkFailure(*FailureOf(*check.failure->outcome));
        ButOn();
        return false;
    }
    ButOn();
    if (check.holds) return true;
    jobs::ForgetKnown(Comm.DeviceName(), kind);
    log_.Write({Comm.DeviceName(), jobs::RunKind::PluDownload, 0, rows, jobs::kKnownStale,
                check.duration, plan.skipped});
    if (dialogs_->Question(texts::KnownStale()) == Answer::Yes) DownloadRun();
    return false;
}
