#include "ChangesLoad.h"

#include "Download.h"
#include "KeptDownload.h"

namespace jobs {

namespace {

class Load {
  public:
    Load(scale::Link& link, const std::string& port, const tables::Table& table,
         scale::RowKind kind, ChangesObserver& observer, TransferLog& log)
        : link_(link), port_(port), table_(table), kind_(kind), observer_(observer), log_(log) {}

    ChangesResult Run();

  private:
    ChangesResult Whole(Distrust why, std::string detail);
    ChangesResult Send(const std::vector<int>* rows, int skipped,
                       const KnownRecords* known = nullptr);
    void Log(const ChangesResult& result) {
        log_.WriteRun(port_, DownloadKindOf(kind_), result.rows, result.report, result.skipped);
    }

    scale::Link& link_;
    const std::string& port_;
    const tables::Table& table_;
    scale::RowKind kind_;
    ChangesObserver& observer_;
    TransferLog& log_;
};

ChangesResult Load::Run() {
    const std::optional<KnownRecords> known = LoadKnown(port_, kind_);
    if (!known || known->empty()) return Whole(Distrust::Unknown, {});
    const ChangePlan plan = PlanChanges(table_, kind_, *known);
    ChangesResult result;
    result.rows = static_cast<int>(plan.rows.size());
    result.skipped = plan.skipped;
    if (kind_ == scale::RowKind::Message) {
        if (!observer_.TrustUnchecked(result.rows, DataRows(table_))) {
            result.end = ChangesResult::End::Declined;
            return result;
        }
    } else {
        observer_.Checking();
        const KnownCheck check = CheckKnown(link_, *known);
        observer_.Checked(check.failure.has_value());
        if (check.failure) {
            result.end = ChangesResult::End::CheckFailed;
            result.report.failure = check.failure;
            result.report.duration = check.duration;
            Log(result);
            return result;
        }
        if (!check.holds) {
            ForgetKnown(port_, kind_);
            log_.Write({port_, DownloadKindOf(kind_), 0, result.rows, kKnownStale, check.duration,
                        plan.skipped});
            return Whole(Distrust::Stale, std::to_string(check.position));
        }
    }
    if (plan.rows.empty()) {
        result.end = ChangesResult::End::NothingChanged;
        Log(result);
        return result;
    }
    return Send(&plan.rows, plan.skipped, &*known);
}

ChangesResult Load::Whole(Distrust why, std::string detail) {
    ChangesResult result;
    result.end = ChangesResult::End::Declined;
    if (observer_.SendWholeList(why, detail)) result = Send(nullptr, -1);
    result.distrust = why;
    result.detail = std::move(detail);
    return result;
}

ChangesResult Load::Send(const std::vector<int>* rows, int skipped, const KnownRecords* known) {
    ChangesResult result;
    result.rows = rows ? static_cast<int>(rows->size()) : DataRows(table_);
    result.skipped = skipped;
    const KeptDownload kept = DownloadKeepingKnown(
        link_, port_, table_, kind_, rows, observer_,
        [&] { observer_.Sending(result.rows, skipped); }, known);
    result.knownNote = kept.knownNote;
    if (kept.refused) return Whole(Distrust::NotKeepable, kept.knownNote);
    result.report = kept.report;
    Log(result);
    return result;
}

}  // namespace

ChangesResult LoadChanges(scale::Link& link, const std::string& port, const tables::Table& table,
                          scale::RowKind kind, ChangesObserver& observer, TransferLog& log) {
    return Load(link, port, table, kind, observer, log).Run();
}

}  // namespace jobs
