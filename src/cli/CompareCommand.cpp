#include "CompareCommand.h"

#include "CodePage1251.h"
#include "Commands.h"
#include "Compare.h"
#include "ExitCode.h"
#include "Runs.h"

namespace cli {

namespace {

void Difference(Output& output, const std::string& port, QJsonObject event,
                const std::string& line) {
    event.insert("event", "difference");
    event.insert("port", Q(port));
    output.Event(event);
    output.Say(port + ": " + line);
}

// Every difference as a line and an event, in PLU order within each kind.
void SayDifferences(Output& output, const std::string& port, const jobs::Comparison& c) {
    const tables::Row& titles = tables::TitlesOf(tables::ListKind::Plu);
    for (const jobs::ListedRecord& record : c.differing) {
        for (const jobs::FieldDifference& field : record.fields) {
            const std::string title =
                tables::Cp1251ToUtf8(titles[static_cast<std::size_t>(field.column)]);
            const std::string list = tables::Cp1251ToUtf8(field.list);
            const std::string scale = tables::Cp1251ToUtf8(field.scale);
            Difference(output, port,
                       {{"what", "field"},
                        {"plu", record.plu},
                        {"row", record.row},
                        {"field", Q(title)},
                        {"list", Q(list)},
                        {"scale", Q(scale)}},
                       "PLU " + std::to_string(record.plu) + ", «" + title + "»: в списке «" +
                           list + "», в весах «" + scale + "»");
        }
    }
    for (const jobs::ListedRecord& record : c.missing)
        Difference(output, port, {{"what", "missing"}, {"plu", record.plu}, {"row", record.row}},
                   "PLU " + std::to_string(record.plu) + ": нет в весах");
    for (const tables::Row& record : c.onlyInScale)
        Difference(output, port, {{"what", "extra"}, {"plu", Q(record[tables::Column::Plu])}},
                   "PLU " + record[tables::Column::Plu] + ": нет в списке");
}

PortResult CompareOnePort(const PortName& port, scale::Link& link, const ListFile& list,
                          Output& output) {
    RunStarted(output, port.name, jobs::RunKind::PluCompare, 0);
    PortObserver observer(port.name, output, 0);
    const jobs::KeptCompare kept = jobs::CompareKeepingKnown(link, port.name, list.table, observer);
    if (!kept.knownNote.empty()) output.Warn(kept.knownNote);
    const jobs::CompareReport& compared = kept.compared;
    PortResult result = RunEnded(port.name, jobs::RunKind::PluCompare, 0, compared.report, output);
    if (!compared.comparison) return result;
    const jobs::Comparison& c = *compared.comparison;
    SayDifferences(output, port.name, c);
    const auto differing = static_cast<int>(c.differing.size());
    const auto missing = static_cast<int>(c.missing.size());
    const auto extra = static_cast<int>(c.onlyInScale.size());
    result.exitCode = c.Same() ? kDone : kDifferent;
    result.summary = port.name + ": совпадает: " + std::to_string(c.equal) +
                     ", отличается: " + std::to_string(differing) +
                     ", нет в весах: " + std::to_string(missing) +
                     ", нет в списке: " + std::to_string(extra);
    output.Event({{"event", "compare-end"},
                  {"port", Q(port.name)},
                  {"equal", c.equal},
                  {"differing", differing},
                  {"missing", missing},
                  {"extra", extra},
                  {"exit_code", result.exitCode},
                  {"text", Q(result.summary)}});
    return result;
}

}  // namespace

int RunCompare(const Settings& settings, Output& output) {
    ListFile list;
    // Whatever its name, a file that is not CSV is read as a PLU list.
    const std::optional<tables::ListKind> kind = settings.kind ? settings.kind
                                                 : IsImportedFileName(settings.file)
                                                     ? std::nullopt
                                                     : std::optional(tables::ListKind::Plu);
    const int read =
        ReadList(settings.file, kind, settings.import, "Сверка не проводилась", output, list);
    if (read != kDone) return read;
    if (list.kind != tables::ListKind::Plu) return output.Fail(kComparePluOnly, kUsage);
    const auto results = RunTracked(settings, output, [&](const PortName& port, scale::Link& link) {
        return CompareOnePort(port, link, list, output);
    });
    return Summarize(results, output);
}

}  // namespace cli
