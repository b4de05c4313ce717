// What a scale is known to hold: records as the scale holds them, what each run leaves known,
// sending only what changed, and the check that the scale still holds what is known.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <thread>

#include "Download.h"
#include "FileSizeLimit.h"
#include "FrozenFile.h"
#include "KeptDownload.h"
#include "KnownContents.h"
#include "KnownJournal.h"
#include "OnScale.h"
#include "ScaleText.h"
#include "Upload.h"

namespace {

// Stops after `stopAfter` rows (0: never).
class Stopper : public jobs::Observer {
  public:
    explicit Stopper(int stopAfter = 0) : stopAfter_(stopAfter) {}
    bool StopNow() override { return ++asked_ == stopAfter_; }

  private:
    int stopAfter_;
    int asked_ = 0;
};

tables::Row Plu(int plu, int price, std::string name = "Cheese") {
    return {std::to_string(plu), name, "kg", std::to_string(price), "5", "0", "77", "1", "0"};
}

std::vector<tables::Row> Prices(int count, int price) {
    std::vector<tables::Row> rows;
    for (int plu = 1; plu <= count; ++plu) rows.push_back(Plu(plu, price + plu));
    return rows;
}

jobs::Report Download(OnScale& s, const tables::Table& table, int stopAfter = 0,
                      const std::vector<int>* rows = nullptr) {
    Stopper stopper(stopAfter);
    const jobs::KeptDownload kept =
        jobs::DownloadKeepingKnown(s.link, "COM2", table, scale::RowKind::Plu, rows, stopper);
    EXPECT_EQ(kept.knownNote, "");
    return kept.report;
}

// The scale's records as the program's upload reads them. A scale that the program has just
// given up on skips the next request until the line has been quiet a while.
jobs::KnownRecords ReadBack(OnScale& s) {
    EXPECT_TRUE(s.scale.WaitListening(std::chrono::seconds(3)));
    jobs::KnownRecords held;
    for (int position = 1;; ++position) {
        scale::PluCells cells;
        if (scale::UploadPlu(s.link, position, cells) != scale::UploadOutcome::Record) break;
        held[jobs::RecordNumber(cells)] = cells;
    }
    return held;
}

jobs::KnownRecords Known() {
    return jobs::LoadKnown("COM2", scale::RowKind::Plu).value_or(jobs::KnownRecords{});
}

jobs::KnownRecords CanonicalOf(const std::vector<tables::Row>& rows) {
    jobs::KnownRecords records;
    for (const tables::Row& row : rows) {
        const auto record = jobs::CanonicalRecord(row, scale::RowKind::Plu);
        records[jobs::RecordNumber(*record)] = *record;
    }
    return records;
}

// Every record claimed is one the scale holds, field for field.
void ExpectOnlyHeldRecordsClaimed(OnScale& s, const char* name) {
    const jobs::KnownRecords held = ReadBack(s);
    for (const auto& [plu, record] : Known()) {
        const auto at = held.find(plu);
        ASSERT_NE(at, held.end()) << name << ": PLU " << plu;
        EXPECT_EQ(at->second, record) << name << ": PLU " << plu;
    }
}

sim::Fault AtPlu(int plu, sim::Step step, sim::Action action) {
    sim::Fault fault;
    fault.kind = sim::Kind::PluDownload;
    fault.number = plu;
    fault.step = step;
    fault.action = action;
    return fault;
}

TEST(KnownContents, ARecordIsWhatTheUploadGivesBackOfItsRow) {
    const std::string longName = "Cheese of the Alps, aged two years";
    const std::string letters = "\xD1\xFB\xF0 \xA8\xEB\xEA\xE0 \x80\x9F";  // Сыр Ёлка, 0x80 0x9F
    const tables::Row rows[] = {
        Plu(1, 100, "Cheese   "),
        Plu(2, 100, "   Cheese"),
        Plu(3, 100, longName),
        Plu(4, 100, std::string(27, 'x')),
        Plu(5, 100, std::string(28, 'y')),
        Plu(6, 100, letters),
        Plu(7, 100, ""),
        {"$8", "a", "b", " 300", "+5", "$FF", "2147483647", "65535", "0"},
    };
    OnScale s;
    std::vector<tables::Row> list(std::begin(rows), std::end(rows));
    ASSERT_FALSE(Download(s, ListOf(list)).failure);
    const jobs::KnownRecords held = ReadBack(s);
    for (const tables::Row& row : rows) {
        const auto record = jobs::CanonicalRecord(row, scale::RowKind::Plu);
        ASSERT_TRUE(record) << row[1];
        ASSERT_TRUE(held.count(jobs::RecordNumber(*record))) << row[0];
        EXPECT_EQ(*record, held.at(jobs::RecordNumber(*record))) << row[1];
    }
    const tables::Row refused{"9", "x", "", "1,5", "5", "0", "77", "1", "0"};
    EXPECT_FALSE(jobs::CanonicalRecord(refused, scale::RowKind::Plu));

    // A message keeps each line as it went on the line.
    const tables::Row message{"3", "Short", std::string(60, 'z'), "", "   ", "a", "b", "c", "d"};
    Stopper never;
    jobs::RunDownload(s.link, ListOf({message}), scale::RowKind::Message, never);
    const auto stored = s.scale.FindMessage(3);
    const auto record = jobs::CanonicalRecord(message, scale::RowKind::Message);
    ASSERT_TRUE(stored && record);
    for (std::size_t line = 0; line < 8; ++line) {
        std::string sent;
        for (std::uint8_t b : stored->lines[line]) sent += static_cast<char>(sim::FromScale(b));
        EXPECT_EQ((*record)[line + 1], sent) << line;
    }
}

TEST(KnownContents, FailedAndStoppedRunsRecordExactlyTheCompletedRows) {
    struct Case {
        const char* name;
        std::optional<sim::Fault> fault;
        std::function<void(tables::Table&)> change;
        int stopAfter;
        int completed;  // rows 1..completed went well
        int dropped;    // the row whose exchange failed, 0 for none
    };
    const Case cases[] = {
        {"all rows", std::nullopt, nullptr, 0, 6, 0},
        {"stopped after row 3", std::nullopt, nullptr, 3, 3, 0},
        {"number refused at row 4", AtPlu(4, sim::Step::NumberCheck, sim::Action::Refuse), nullptr,
         0, 3, 4},
        // The scale keeps a record before its closing byte: it may hold row 4 or not.
        {"silent at row 4's closing", AtPlu(4, sim::Step::Closing, sim::Action::Silence), nullptr,
         0, 3, 4},
        {"a bad cell in row 4 sends nothing of it", std::nullopt,
         [](tables::Table& t) { t.SetCell(tables::Column::Price, 4, "1,5"); }, 0, 3, 0},
    };
    for (const Case& c : cases) {
        OnScale s;
        const std::vector<tables::Row> before = Prices(6, 100);
        ASSERT_FALSE(Download(s, ListOf(before)).failure) << c.name;
        const std::vector<tables::Row> after = Prices(6, 200);
        tables::Table table = ListOf(after);
        if (c.change) c.change(table);
        if (c.fault) s.scale.Inject(*c.fault);
        Download(s, table, c.stopAfter);

        jobs::KnownRecords expected = CanonicalOf(before);
        const jobs::KnownRecords sent = CanonicalOf(after);
        for (int plu = 1; plu <= c.completed; ++plu) expected[plu] = sent.at(plu);
        expected.erase(c.dropped);
        EXPECT_EQ(Known(), expected) << c.name;
        ExpectOnlyHeldRecordsClaimed(s, c.name);
    }
}

TEST(KnownContents, AnUploadReadToTheEndReplacesWhatWasKnownAndAPartOneAddsToIt) {
    struct Case {
        const char* name;
        int stopAfter;
        std::optional<sim::Fault> fault;
        std::set<int> known;
    };
    // PLU 4 changed on the scale: the first record read is always its own.
    sim::Fault stall;
    stall.kind = sim::Kind::PluUpload;
    stall.occurrence = 2;
    stall.step = sim::Step::Record;
    stall.action = sim::Action::Stall;
    stall.afterBytes = 10;
    const Case cases[] = {
        {"read to the end", 0, std::nullopt, {4, 5}},
        {"stopped after the first record", 1, std::nullopt, {1, 2, 3, 4, 5}},
        {"stalled in the second record", 0, stall, {1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        OnScale s;
        ASSERT_FALSE(Download(s, ListOf(Prices(3, 100))).failure) << c.name;
        s.scale.ClearPlus();
        ASSERT_FALSE(Download(s, ListOf({Plu(4, 1), Plu(5, 1)})).failure) << c.name;
        sim::PluRecord keyedIn = *s.scale.FindPlu(4);
        keyedIn.price = 999;
        s.scale.PutPlu(keyedIn);
        if (c.fault) s.scale.Inject(*c.fault);
        Stopper stopper(c.stopAfter);
        jobs::KnownRecorder recorder("COM2", scale::RowKind::Plu, nullptr, stopper);
        EXPECT_EQ(recorder.Finish(jobs::RunUpload(s.link, recorder)), "") << c.name;
        std::set<int> known;
        for (const auto& [plu, record] : Known()) known.insert(plu);
        EXPECT_EQ(known, c.known) << c.name;
        EXPECT_EQ(Known()[4][tables::Column::Price], "999") << c.name;
    }
}

TEST(KnownContents, EachPortKeepsAFileOfItsOwnInTheFolder) {
    TempConfig config;
    const std::string ports[] = {"COM2",         "COM3", "/dev/ttyUSB0", "/dev/tty/USB0",
                                 "_dev_ttyUSB0", "..",   "%2Fdev"};
    std::set<std::string> paths;
    for (std::size_t i = 0; i < std::size(ports); ++i) {
        const std::string path = jobs::KnownContentsPath(ports[i], scale::RowKind::Plu);
        EXPECT_EQ(std::filesystem::path(path).parent_path(),
                  std::filesystem::path(jobs::KnownContentsFolder()))
            << ports[i];
        paths.insert(path);
        paths.insert(jobs::KnownContentsPath(ports[i], scale::RowKind::Message));
        std::string error;
        ASSERT_TRUE(jobs::SaveKnown(ports[i], scale::RowKind::Plu,
                                    CanonicalOf({Plu(static_cast<int>(i) + 1, 1)}), error))
            << error;
    }
    EXPECT_EQ(paths.size(), 2 * std::size(ports));
    for (std::size_t i = 0; i < std::size(ports); ++i) {
        const auto known = jobs::LoadKnown(ports[i], scale::RowKind::Plu);
        ASSERT_TRUE(known) << ports[i];
        EXPECT_EQ(*known, CanonicalOf({Plu(static_cast<int>(i) + 1, 1)})) << ports[i];
        EXPECT_FALSE(jobs::LoadKnown(ports[i], scale::RowKind::Message)) << ports[i];
    }
}

}  // namespace

namespace {

std::string BytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// How many PLU records the scale was sent whole since it was last cleared.
TEST(KnownContents, ALoadThatCannotStopClaimingForgetsAllOrIsRefusedWhenItNeedsTheClaims) {
    enum class Disk { Full, ReadOnly };
    struct Case {
        const char* name;
        Disk disk;
        bool changedOnly;
        bool refused;
        std::string note;  // a part of what the load says of the known contents
        bool fileKept;     // the earlier file is still there, unchanged
    };
    const Case cases[] = {
        {"full disk, whole list", Disk::Full, false, false, "не записано", false},
        {"full disk, changes", Disk::Full, true, false, "не записано", false},
        {"read-only, whole list", Disk::ReadOnly, false, false, "ничего о весах не запомнит", true},
        {"read-only, changes", Disk::ReadOnly, true, true, "только изменения нельзя", true},
    };
    for (const Case& c : cases) {
        OnScale s;
        ASSERT_FALSE(Download(s, ListOf(Prices(4, 100))).failure) << c.name;
        const std::string path = jobs::KnownContentsPath("COM2", scale::RowKind::Plu);
        const std::string earlier = BytesOf(path);
        const tables::Table next = ListOf(Prices(4, 200));
        const std::vector<int> rows{1, 2, 3, 4};
        ASSERT_TRUE(s.scale.WaitListening(std::chrono::seconds(3))) << c.name;
        s.scale.ClearReceived();
        jobs::KeptDownload kept;
        {
            std::optional<FileSizeLimit> full;
            std::optional<FrozenFile> frozen;
            if (c.disk == Disk::Full) full.emplace(16);
            if (c.disk == Disk::ReadOnly) {
                ASSERT_TRUE(frozen.emplace(path).Frozen()) << c.name;
            }
            Stopper never;
            kept = jobs::DownloadKeepingKnown(s.link, "COM2", next, scale::RowKind::Plu,
                                              c.changedOnly ? &rows : nullptr, never);
        }
        EXPECT_EQ(kept.refused, c.refused) << c.name;
        EXPECT_NE(kept.knownNote.find(c.note), std::string::npos) << c.name << kept.knownNote;
        EXPECT_EQ(RecordsSent(s.scale), c.refused ? 0 : 4) << c.name;
        EXPECT_EQ(std::filesystem::exists(path), c.fileKept) << c.name;
        if (c.fileKept) {
            EXPECT_EQ(BytesOf(path), earlier) << c.name;
        }
    }
}

}  // namespace

namespace {

// Gives the clock time to pass between rows, as a paced line does.
class SlowRows : public jobs::Observer {
  public:
    explicit SlowRows(std::function<void(int)> atRow) : atRow_(std::move(atRow)) {}
    void RowDone(int row, const tables::Row&) override { atRow_(row); }
    bool StopNow() override {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return false;
    }

  private:
    std::function<void(int)> atRow_;
};

TEST(KnownContents, ALongLoadClaimsWhatTheScaleConfirmedBeforeItEnds) {
    struct Case {
        const char* name;
        std::string journalBefore;  // left by a run cut short
    };
    const Case cases[] = {
        {"a first load, nothing known yet", ""},
        {"after a run cut short in an entry", "1\r\nCheese\r\nkg\r\n10"},
    };
    for (const Case& c : cases) {
        OnScale s;
        const std::string journal =
            jobs::JournalPath(jobs::KnownContentsPath("COM2", scale::RowKind::Plu));
        if (!c.journalBefore.empty()) {
            std::filesystem::create_directories(jobs::KnownContentsFolder());
            std::ofstream(journal, std::ios::binary) << c.journalBefore;
        }
        std::size_t claimedAtRow30 = 0;
        SlowRows slow([&](int row) {
            if (row == 30) claimedAtRow30 = jobs::ReadJournal(journal).size();
        });
        const tables::Table table = ListOf(Prices(40, 100));
        const jobs::KeptDownload kept =
            jobs::DownloadKeepingKnown(s.link, "COM2", table, scale::RowKind::Plu, nullptr, slow);
        ASSERT_FALSE(kept.report.failure) << c.name;
        EXPECT_GE(claimedAtRow30, 16u) << c.name;
        EXPECT_EQ(Known(), CanonicalOf(Prices(40, 100))) << c.name;
        EXPECT_FALSE(std::filesystem::exists(journal)) << c.name << ": folded in at the end";
    }
}

}  // namespace
