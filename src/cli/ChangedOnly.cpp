#include "ChangedOnly.h"

#include <QJsonObject>
#include <optional>

#include "ChangesLoad.h"
#include "Commands.h"
#include "ExitCode.h"
#include "Outcomes.h"

namespace cli {

namespace {

const char* const kWhatToDo =
    " Ничего не передано: загрузите весь список без --changed-only или добавьте "
    "--full-if-unknown";

std::string DistrustText(jobs::Distrust why, const std::string& detail) {
    switch (why) {
        case jobs::Distrust::Unknown:
            return "неизвестно, что сейчас в весах: с ними ещё не было обмена, после которого это "
                   "известно.";
        case jobs::Distrust::Stale:
            return "в весах не то, что в них было передано (запись " + detail +
                   " не совпала): возможно, цену ввели на самих весах или кабель теперь подключён "
                   "к другим весам.";
        case jobs::Distrust::NotKeepable:
            return detail;
    }
    return detail;
}

// Answers the load's questions from the flags and shows its progress.
class ChangesAnswers : public jobs::ChangesObserver {
  public:
    ChangesAnswers(Untrusted untrusted, const PortName& port, const ListFile& list, Output& output)
        : untrusted_(untrusted), port_(port), list_(list), output_(output) {}

    bool SendWholeList(jobs::Distrust why, const std::string& detail) override {
        if (untrusted_ == Untrusted::Refuse) return false;
        const char* because = untrusted_ == Untrusted::WholeByFlag ? " (--full-if-unknown)" : "";
        output_.Say(port_.name + ": " + DistrustText(why, detail) + " Передаётся весь список" +
                    because);
        return true;
    }
    // --trust-known was required for messages.
    bool TrustUnchecked(int, int) override { return true; }
    void Sending(int rows, int skipped) override {
        RunStarted(output_, port_.name, jobs::DownloadKindOf(list_.kind), rows, skipped);
        progress_.emplace(port_.name, output_, rows);
    }
    void RowStarting(int row, int rows) override { progress_->RowStarting(row, rows); }
    void RowDone(int row, const tables::Row& cells) override { progress_->RowDone(row, cells); }
    void RowFailed(const jobs::Failure& failure) override { progress_->RowFailed(failure); }
    bool StopNow() override { return progress_->StopNow(); }

  private:
    Untrusted untrusted_;
    const PortName& port_;
    const ListFile& list_;
    Output& output_;
    std::optional<PortObserver> progress_;
};

}  // namespace

PortResult SendChangesToPort(Untrusted untrusted, const PortName& port, scale::Link& link,
                             const ListFile& list, Output& output) {
    ChangesAnswers answers(untrusted, port, list, output);
    const jobs::ChangesResult result =
        jobs::LoadChanges(link, port.name, list.table, jobs::RowKindOf(list.kind), answers);
    if (!result.knownNote.empty()) output.Warn(result.knownNote);
    using End = jobs::ChangesResult::End;
    if (result.end == End::Declined) {
        const std::string text =
            port.name + ": " + DistrustText(*result.distrust, result.detail) + kWhatToDo;
        output.Event({{"event", "known-untrusted"},
                      {"port", Q(port.name)},
                      {"text", Q(text)},
                      {"exit_code", kDifferent}});
        return {port.name, kDifferent, text, {}, true};
    }
    // Nothing changed reads as a run of no rows.
    if (result.end == End::NothingChanged) answers.Sending(result.rows, result.skipped);
    PortResult ended = RunEnded(port.name, jobs::DownloadKindOf(list.kind), result.rows,
                                result.report, output, result.skipped);
    if (result.end == End::CheckFailed)
        ended.summary = port.name + ": проверка содержимого весов не удалась: " +
                        ExchangeText(*result.report.failure->outcome) + ". Ничего не передано";
    return ended;
}

std::optional<std::string> ChangesProblem(const Settings& settings, tables::ListKind kind) {
    if (!settings.changedOnly || kind != tables::ListKind::Msg || settings.trustKnown)
        return std::nullopt;
    return "Сообщения весы обратно не передают, и проверить, что в них сейчас, нельзя: "
           "--changed-only для сообщений — только с --trust-known";
}

}  // namespace cli
