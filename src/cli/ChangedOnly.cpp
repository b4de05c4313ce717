#include "ChangedOnly.h"

#include "Commands.h"
#include "Download.h"
#include "ExitCode.h"
#include "KeptDownload.h"
#include "Outcomes.h"

namespace cli {

namespace {

const char* const kWhatToDo =
    " Ничего не передано: загрузите весь список без --changed-only или добавьте "
    "--full-if-unknown";

// Known contents that cannot be trusted: the whole list with --full-if-unknown, else nothing.
PortResult Untrusted(const Settings& settings, const PortName& port, scale::Link& link,
                     const ListFile& list, const std::string& why, Output& output) {
    if (settings.fullIfUnknown) {
        output.Say(port.name + ": " + why + " Передаётся весь список (--full-if-unknown)");
        return SendToPort(port, link, list, output);
    }
    const std::string text = port.name + ": " + why + kWhatToDo;
    output.Event({{"event", "known-untrusted"},
                  {"port", Q(port.name)},
                  {"text", Q(text)},
                  {"exit_code", kDifferent}});
    return {port.name, kDifferent, text, {}, true};
}

PortResult SendPlanned(const Settings& settings, const PortName& port, scale::Link& link,
                       const ListFile& list, const jobs::ChangePlan& plan, Output& output) {
    const int rows = static_cast<int>(plan.rows.size());
    const jobs::RunKind kind = jobs::DownloadKindOf(list.kind);
    PortObserver observer(port.name, output, rows);
    const auto announce = [&] {
        output.Event({{"event", "run-start"},
                      {"port", Q(port.name)},
                      {"kind", jobs::RunKindName(kind)},
                      {"rows", rows},
                      {"skipped", plan.skipped}});
    };
    const jobs::KeptDownload kept = jobs::DownloadKeepingKnown(
        link, port.name, list.table, jobs::RowKindOf(list.kind), &plan.rows, observer, announce);
    if (kept.refused) return Untrusted(settings, port, link, list, kept.knownNote, output);
    if (!kept.knownNote.empty()) output.Warn(kept.knownNote);
    return FinishRun(port.name, kind, rows, kept.report, output, plan.skipped);
}

PortResult SendChangesToPort(const Settings& settings, const PortName& port, scale::Link& link,
                             const ListFile& list, Output& output) {
    const scale::RowKind kind = jobs::RowKindOf(list.kind);
    const std::optional<jobs::KnownRecords> known = jobs::LoadKnown(port.name, kind);
    if (!known || known->empty())
        return Untrusted(settings, port, link, list,
                         "неизвестно, что сейчас в весах: с ними ещё не было обмена, после "
                         "которого это известно.",
                         output);
    const jobs::ChangePlan plan = jobs::PlanChanges(list.table, kind, *known);
    // Messages cannot be read back; --trust-known was required for them.
    if (kind == scale::RowKind::Message)
        return SendPlanned(settings, port, link, list, plan, output);
    const jobs::KnownCheck check = jobs::CheckKnown(link, *known);
    const int rows = static_cast<int>(plan.rows.size());
    if (check.failure) {
        jobs::Report report;
        report.failure = check.failure;
        report.duration = check.duration;
        PortResult result = FinishRun(port.name, jobs::DownloadKindOf(list.kind), rows, report,
                                      output, plan.skipped);
        result.summary = port.name + ": проверка содержимого весов не удалась: " +
                         ExchangeText(*check.failure->outcome) + ". Ничего не передано";
        return result;
    }
    if (!check.holds) {
        jobs::ForgetKnown(port.name, kind);
        Log().Write({port.name, jobs::DownloadKindOf(list.kind), 0, rows, jobs::kKnownStale,
                     check.duration, plan.skipped});
        return Untrusted(settings, port, link, list,
                         "в весах не то, что в них было передано (запись " +
                             std::to_string(check.position) +
                             " не совпала): возможно, цену ввели на самих весах или кабель "
                             "теперь подключён к другим весам.",
                         output);
    }
    return SendPlanned(settings, port, link, list, plan, output);
}

}  // namespace

std::vector<PortResult> SendChanges(const Settings& settings, const ListFile& list,
                                    Output& output) {
    output.TrackPorts(NamesOf(settings.ports));
    return RunOnPorts(settings, output, [&](const PortName& port, scale::Link& link) {
        return SendChangesToPort(settings, port, link, list, output);
    });
}

std::optional<std::string> ChangesProblem(const Settings& settings, tables::ListKind kind) {
    if (!settings.changedOnly || kind != tables::ListKind::Msg || settings.trustKnown)
        return std::nullopt;
    return "Сообщения весы обратно не передают, и проверить, что в них сейчас, нельзя: "
           "--changed-only для сообщений — только с --trust-known";
}

void KeepKnown(jobs::KnownRecorder& recorder, const jobs::Report& report, Output& output) {
    const std::string failure = recorder.Finish(report);
    if (!failure.empty()) output.Warn(failure);
}

}  // namespace cli
