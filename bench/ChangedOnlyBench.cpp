// A daily price update: 50 changed rows of a 5,000-PLU list, sent by qvscale-cli download
// --changed-only to a virtual scale paced at 9600 baud that holds the list as it was.
// Targets: the run, the check of the scale's contents included, at most 2% of the full load's
// line time (5,000 rows of 81 bytes, computed, not run); planning the rows to send under 50 ms.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "CliRun.h"
#include "KnownContents.h"
#include "ScaleText.h"
#include "VirtualScale.h"

namespace {

constexpr int kRows = 5000;
constexpr int kChanged = 50;
constexpr int kBaud = 9600;
constexpr double kRowBytes = 81.0;

sim::PluRecord AsHeld(const tables::Row& row) {
    sim::PluRecord record;
    record.plu = static_cast<std::uint16_t>(std::stoi(row[0]));
    record.name1 = sim::NameLineFromText(row[1]);
    record.name2 = sim::NameLineFromText(row[2]);
    record.price = std::stoi(row[3]);
    record.shelfLife = static_cast<std::uint16_t>(std::stoi(row[4]));
    record.tare = static_cast<std::uint16_t>(std::stoi(row[5]));
    record.itemCode = std::stoi(row[6]);
    record.group = static_cast<std::uint16_t>(std::stoi(row[7]));
    record.message = static_cast<std::uint16_t>(std::stoi(row[8]));
    return record;
}

tables::Table TableOf(const std::vector<tables::Row>& rows) {
    tables::Table table;
    table.SetRowCount(static_cast<int>(rows.size()) + 2);
    for (std::size_t r = 0; r < rows.size(); ++r) table.SetRow(static_cast<int>(r) + 1, rows[r]);
    tables::WriteEndMarker(table, table.RowCount() - 1);
    return table;
}

}  // namespace

int main() {
    const std::string dir = BenchFolder();
    if (dir.empty()) return 2;

    std::vector<tables::Row> before;
    for (int plu = 1; plu <= kRows; ++plu) before.push_back(CheeseRow(plu, 100 * plu, "kg"));
    std::vector<tables::Row> after = before;
    for (int i = 0; i < kChanged; ++i)
        after[static_cast<std::size_t>(i * kRows / kChanged + 7)][3] = "1";

    // What a full load would have left: the scale's records and the known contents.
    sim::Options options;
    options.link = "COM2";
    options.baud = kBaud;
    sim::VirtualScale scale(options);
    jobs::KnownRecords known;
    for (const auto& row : before) {
        scale.PutPlu(AsHeld(row));
        const auto record = jobs::CanonicalRecord(row, scale::RowKind::Plu);
        known[jobs::RecordNumber(*record)] = *record;
    }
    std::string error;
    if (!jobs::SaveKnown("COM2", scale::RowKind::Plu, known, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    const std::string list = dir + "/prices.plu";
    WriteList(list, after);

    const tables::Table table = TableOf(after);
    const double planStart = Now();
    const auto loaded = jobs::LoadKnown("COM2", scale::RowKind::Plu);
    const double loadSeconds = Now() - planStart;
    const jobs::ChangePlan plan = jobs::PlanChanges(table, scale::RowKind::Plu, *loaded);
    const double planSeconds = Now() - planStart - loadSeconds;

    const CliRun run = RunCli({QVSCALE_CLI, "download", "--changed-only", "--port", "COM2", list});
    const int exitCode = run.exitCode;
    const double wall = run.wall;

    int downloads = 0;
    int uploads = 0;
    for (const sim::Exchange& e : scale.Exchanges()) {
        downloads += e.kind == sim::Kind::PluDownload && e.complete;
        uploads += e.kind == sim::Kind::PluUpload && e.complete;
    }
    bool updated = true;
    for (const auto& row : after)
        updated = updated && *scale.FindPlu(AsHeld(row).plu) == AsHeld(row);
    std::filesystem::remove_all(dir);

    const double fullLineTime = kRows * kRowBytes * 10.0 / kBaud;
    const double share = 100.0 * wall / fullLineTime;
    std::printf(
        "changed-only load of %d changed rows of %d at %d baud: %.2f s, check of %d records "
        "included, for %.1f s of a full load's line time (%.2f%%, target at most 2%%); "
        "planning %.1f ms (target under 50 ms), reading the known contents %.1f ms\n",
        kChanged, kRows, kBaud, wall, uploads, fullLineTime, share, 1000 * planSeconds,
        1000 * loadSeconds);
    if (exitCode != 0 || downloads != kChanged || static_cast<int>(plan.rows.size()) != kChanged ||
        !updated) {
        std::fprintf(stderr, "exit code %d, %d rows sent, %zu planned, scale %s\n", exitCode,
                     downloads, plan.rows.size(), updated ? "updated" : "not updated");
        return 2;
    }
    return share <= 2.0 && planSeconds < 0.05 ? 0 : 1;
}
