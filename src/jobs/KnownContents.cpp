#include "KnownContents.h"

#include <QString>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <unordered_map>

#include "AtomicFile.h"
#include "Codec.h"
#include "Download.h"
#include "KnownJournal.h"
#include "TableFile.h"
#include "TransferLog.h"

namespace jobs {

namespace {

namespace fs = std::filesystem;

// The name line as the scale stores it, read back the way the upload reads it.
std::string NameAsHeld(const std::string& cell) {
    std::string line = scale::PrepareNameLine(cell);
    for (char& c : line) c = static_cast<char>(scale::ToScaleChar(static_cast<std::uint8_t>(c)));
    return scale::DecodeNameLine(line);
}

std::optional<std::int32_t> NumberOf(const std::string& cell) {
    std::int32_t number = 0;
    if (!scale::CellToInt(cell, number)) return std::nullopt;
    return number;
}

// A record that holds a line break cannot be kept in a table file as it is; keeping it changed
// would claim a record the scale does not hold.
bool Keepable(const tables::Row& record) {
    return std::none_of(record.begin(), record.end(), [](const std::string& cell) {
        return cell.find_first_of("\r\n") != std::string::npos;
    });
}

// The number a row that passed the download's check went out under.
std::optional<std::int32_t> SentNumber(const tables::Row& row, scale::RowKind kind) {
    const scale::RowCheck check = scale::ValidateRow(row, kind);
    if (!check.ok()) return std::nullopt;
    return kind == scale::RowKind::Plu ? check.plu.plu : check.messageNumber;
}

}  // namespace

std::optional<tables::Row> CanonicalRecord(const tables::Row& row, scale::RowKind kind) {
    const scale::RowCheck check = scale::ValidateRow(row, kind);
    if (!check.ok()) return std::nullopt;
    tables::Row record;
    if (kind == scale::RowKind::Message) {
        record[tables::MsgColumn::Number] = std::to_string(check.messageNumber);
        for (int c = tables::MsgColumn::FirstLine; c < tables::kColumns; ++c)
            record[c] = scale::PrepareMessageLine(row[c]);
        return record;
    }
    // Every number passed its field's range, so the upload reads back the value that was sent.
    const scale::PluRecord& plu = check.plu;
    using namespace tables::Column;
    record[Plu] = std::to_string(plu.plu);
    record[Name1] = NameAsHeld(plu.name1);
    record[Name2] = NameAsHeld(plu.name2);
    record[Price] = std::to_string(plu.price);
    record[ShelfLife] = std::to_string(plu.shelfLife);
    record[Tare] = std::to_string(plu.tare);
    record[ItemCode] = std::to_string(plu.itemCode);
    record[Group] = std::to_string(plu.group);
    record[Message] = std::to_string(plu.message);
    return record;
}

std::int32_t RecordNumber(const tables::Row& canonical) {
    return NumberOf(canonical[tables::kNumberColumn]).value_or(-1);
}

std::string KnownContentsFolder() {
    return StateFolder() + "/scales";
}

std::string KnownContentsPath(const std::string& port, scale::RowKind kind) {
    std::string name;
    for (char c : port) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                           (u >= '0' && u <= '9') || c == '-' || c == '_';
        if (plain) {
            name += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", u);
            name += escaped;
        }
    }
    return KnownContentsFolder() + "/" + name + (kind == scale::RowKind::Plu ? ".plu" : ".msg");
}

std::optional<KnownHeld> KnownHeldBy(const std::string& port, scale::RowKind kind) {
    const std::optional<KnownRecords> known = LoadKnown(port, kind);
    if (!known) return std::nullopt;
    const std::string path = KnownContentsPath(port, kind);
    std::optional<std::filesystem::file_time_type> latest;
    for (const std::string& p : {path, JournalPath(path)}) {
        std::error_code error;
        const std::filesystem::file_time_type t = std::filesystem::last_write_time(p, error);
        if (!error && (!latest || t > *latest)) latest = t;
    }
    KnownHeld held;
    held.records = static_cast<int>(known->size());
    if (latest) {
        held.since = std::chrono::time_point_cast<std::chrono::system_clock::duration>(
            *latest - std::filesystem::file_time_type::clock::now() +
            std::chrono::system_clock::now());
    }
    return held;
}

std::optional<KnownRecords> LoadKnown(const std::string& port, scale::RowKind kind) {
    const std::string path = KnownContentsPath(port, kind);
    std::optional<KnownRecords> known;
    std::string bytes;
    if (tables::ReadTableFile(QString::fromStdString(path), bytes) == tables::ReadResult::Ok) {
        known.emplace();
        for (const tables::Row& row : tables::ParseTableFile(bytes)) {
            if (const auto number = NumberOf(row[tables::kNumberColumn])) (*known)[*number] = row;
        }
    }
    for (tables::Row& record : ReadJournal(JournalPath(path))) {
        if (!known) known.emplace();
        const std::int32_t number = RecordNumber(record);
        if (number >= 0) (*known)[number] = std::move(record);
    }
    return known;
}

namespace {

bool Remove(const std::string& path, QString& cause) {
    return tables::RemoveFileDurably(QString::fromStdString(path), cause);
}

bool WriteKnown(const std::string& path, const KnownRecords& records, QString& cause) {
    std::error_code ignored;
    fs::create_directories(KnownContentsFolder(), ignored);
    tables::Table table;
    table.SetRowCount(static_cast<int>(records.size()) + 2);
    int row = 1;
    for (const auto& [number, record] : records) table.SetRow(row++, record);
    tables::WriteEndMarker(table, row);
    return tables::WriteTableFile(QString::fromStdString(path), table, row - 1, cause);
}

}  // namespace

bool SaveKnown(const std::string& port, scale::RowKind kind, const KnownRecords& records,
               std::string& error) {
    const std::string path = KnownContentsPath(port, kind);
    // The journal goes first: a kill before the file is replaced then costs the journal's claims
    // rather than bringing back any the records given here no longer make.
    QString cause;
    if (Remove(JournalPath(path), cause) && WriteKnown(path, records, cause)) return true;
    QString ignored;
    Remove(path, ignored);
    error = "Известное содержимое весов на " + port + " не записано в " + path + ": " +
            cause.toStdString();
    return false;
}

void ForgetKnown(const std::string& port, scale::RowKind kind) {
    const std::string path = KnownContentsPath(port, kind);
    QString ignored;
    Remove(JournalPath(path), ignored);
    Remove(path, ignored);
}

KnownRecorder::KnownRecorder(std::string port, scale::RowKind kind, const tables::Table* table,
                             Observer& next, const KnownRecords* known)
    : port_(std::move(port)),
      kind_(kind),
      table_(table),
      next_(next),
      known_(known ? *known : LoadKnown(port_, kind_).value_or(KnownRecords{})) {}

ClaimsDropped KnownRecorder::StopClaiming(const std::vector<int>& rows, std::string& error) {
    places_ = rows;
    for (std::size_t place = 0; place < rows.size(); ++place) {
        const auto number = SentNumber(table_->RowAt(rows[place]), kind_);
        if (!number) continue;
        lastPlace_[*number] = static_cast<int>(place) + 1;
        const auto claim = known_.find(*number);
        if (claim == known_.end()) continue;
        dropped_.insert(*claim);
        known_.erase(claim);
    }
    const std::string path = KnownContentsPath(port_, kind_);
    // A journal left by a run that was cut short is folded in first: a torn entry at its end
    // would hide every claim appended after it.
    const bool journalLeft = fs::exists(JournalPath(path));
    if ((!dropped_.empty() || journalLeft) && !SaveKnown(port_, kind_, known_, error)) {
        stuck_ = fs::exists(path) || fs::exists(JournalPath(path));
        return stuck_ ? ClaimsDropped::Stuck : ClaimsDropped::Forgotten;
    }
    std::error_code ignored;
    fs::create_directories(KnownContentsFolder(), ignored);
    journaling_ = true;
    lastFlush_ = std::chrono::steady_clock::now();
    return ClaimsDropped::Durably;
}

void KnownRecorder::RowStarting(int row, int rows) {
    if (table_ && row >= 1 && row <= static_cast<int>(places_.size())) {
        const auto number = SentNumber(table_->RowAt(places_[row - 1]), kind_);
        if (number) mayHaveSent_.insert(*number);
    }
    next_.RowStarting(row, rows);
}

void KnownRecorder::RowDone(int row, const tables::Row& cells) {
    if (table_) {
        const auto record = CanonicalRecord(cells, kind_);
        if (record && Keepable(*record)) {
            const std::int32_t number = RecordNumber(*record);
            known_[number] = *record;
            const auto last = lastPlace_.find(number);
            if (last != lastPlace_.end() && last->second == row) Journal(*record);
        }
    } else if (const auto number = NumberOf(cells[tables::kNumberColumn])) {
        if (Keepable(cells)) {
            known_[*number] = cells;
            received_[*number] = cells;
        } else {
            known_.erase(*number);
        }
    }
    next_.RowDone(row, cells);
}

void KnownRecorder::Journal(const tables::Row& record) {
    if (!journaling_) return;
    pending_.push_back(record);
    FlushJournal();
}

void KnownRecorder::FlushJournal() {
    // A sync costs a few milliseconds between two rows. Sixteen rows take over a second at
    // 9600 baud, so a paced load hardly notices; an unpaced one syncs ten times a second at most.
    // A kill costs at most the claims of the last second.
    using namespace std::chrono_literals;
    const auto since = std::chrono::steady_clock::now() - lastFlush_;
    if (!(pending_.size() >= 16 && since >= 100ms) && !(!pending_.empty() && since >= 1s)) return;
    std::string ignored;
    // A journal that cannot be written is given up: the claims go to the file at the end.
    if (!AppendJournal(JournalPath(KnownContentsPath(port_, kind_)), pending_, ignored))
        journaling_ = false;
    pending_.clear();
    lastFlush_ = std::chrono::steady_clock::now();
}

void KnownRecorder::RowFailed(const Failure& failure) {
    // Nothing of a row that failed its check was sent; a failed exchange may or may not have
    // left the record on the scale.
    if (table_ && failure.outcome) {
        if (const auto number = SentNumber(table_->RowAt(failure.row), kind_))
            known_.erase(*number);
    }
    next_.RowFailed(failure);
}

std::string KnownRecorder::Finish(const Report& report) {
    if (stuck_) return {};
    const bool wholeList = !table_ && !report.failure && !report.stopped;
    if (wholeList) known_ = received_;
    for (const auto& [number, record] : dropped_)
        if (!mayHaveSent_.count(number)) known_.emplace(number, record);
    std::string error;
    SaveKnown(port_, kind_, known_, error);
    return error;
}

ChangePlan PlanChanges(const tables::Table& table, scale::RowKind kind, const KnownRecords& known) {
    const int rows = DataRows(table);
    std::vector<std::optional<tables::Row>> records(static_cast<std::size_t>(rows) + 1);
    std::unordered_map<std::int32_t, int> lastRow;
    for (int r = 1; r <= rows; ++r) {
        records[r] = CanonicalRecord(table.RowAt(r), kind);
        if (records[r]) lastRow[RecordNumber(*records[r])] = r;
    }
    ChangePlan plan;
    for (int r = 1; r <= rows; ++r) {
        const std::optional<tables::Row>& record = records[r];
        if (!record) {
            plan.rows.push_back(r);
            continue;
        }
        const std::int32_t number = RecordNumber(*record);
        if (lastRow[number] != r) continue;
        const auto held = known.find(number);
        if (held == known.end() || held->second != *record) plan.rows.push_back(r);
    }
    plan.skipped = rows - static_cast<int>(plan.rows.size());
    return plan;
}

std::vector<int> CheckPositions(int knownPlus) {
    std::vector<int> positions;
    if (knownPlus <= 0) return positions;
    positions.push_back(1);
    for (int i = 1; i <= 3; ++i) positions.push_back(1 + (knownPlus - 1) * i / 4);
    positions.push_back(knownPlus);
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}

KnownCheck CheckKnown(scale::Link& link, const KnownRecords& known) {
    const auto start = std::chrono::steady_clock::now();
    KnownCheck check;
    check.holds = !known.empty();
    for (int position : CheckPositions(static_cast<int>(known.size()))) {
        scale::PluCells cells;
        const scale::UploadOutcome outcome = scale::UploadPlu(link, position, cells);
        if (outcome == scale::UploadOutcome::Record) {
            const auto held = known.find(RecordNumber(cells));
            if (held != known.end() && held->second == cells) continue;
        } else if (outcome != scale::UploadOutcome::EndOfList) {
            check.failure = Failure{position, scale::RowProblem::None, -1, outcome};
        }
        check.holds = false;
        check.position = position;
        break;
    }
    check.duration = ElapsedSince(start);
    return check;
}

}  // namespace jobs
