#include "ImportChoice.h"

#include <QString>
#include <algorithm>

#include "ColumnGuess.h"
#include "CsvHeader.h"
#include "ListRows.h"
#include "RememberedColumns.h"

namespace jobs {
namespace {

bool IsNumber(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// A title the choice's text can name its column by: "Цена, руб=price_rub" reads back, "2024" would
// read back as a column's number and "a=b" as another title.
bool NamesItsColumn(const std::vector<std::string>& cells, int column) {
    const std::string title = tables::Utf8Title(cells[column]);
    if (title.empty() || IsNumber(title) || title.find('=') != std::string::npos) return false;
    return tables::CellOfChoice({title, 0, {}}, cells) == column;
}

}  // namespace

ImportChoice::ImportChoice(std::string bytes, std::optional<tables::SheetFormat> format)
    : bytes_(std::move(bytes)), format_(format) {
    ReadRows({});
    Start();
}

void ImportChoice::ReadRows(const tables::CsvText& told) {
    rows_.clear();
    lines_.clear();
    if (format_) {
        refusal_ = tables::ForEachSheetRow(
            bytes_, *format_, {}, [&](std::vector<std::string>& cells, int line) {
                rows_.push_back(std::move(cells));
                lines_.push_back(line);
                return rows_.size() < static_cast<std::size_t>(tables::kPreviewRows);
            });
    } else {
        tables::CsvRead read = tables::FirstCsvRecords(bytes_, told);
        refusal_ = std::move(read.refusal);
        encoding_ = read.encoding;
        delimiter_ = read.delimiter;
        rows_ = std::move(read.preview);
        lines_ = std::move(read.previewLines);
    }
    if (refusal_.empty() && rows_.empty()) refusal_ = "В файле нет ни одной записи";
    std::size_t widest = 0;
    for (const auto& row : rows_) widest = std::max(widest, row.size());
    targets_.assign(widest, {});
}

void ImportChoice::Start() {
    header_ = -1;
    remembered_ = false;
    std::fill(targets_.begin(), targets_.end(), std::string());
    if (rows_.empty()) return;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const std::optional<tables::ColumnChoice> kept = RememberedChoice(rows_[i]);
        if (!kept || !tables::RowFitsChoice(*kept, rows_[i])) continue;
        header_ = static_cast<int>(i);
        remembered_ = true;
        Apply(*kept);
        return;
    }
    const ColumnGuess guess = GuessColumns(rows_);
    header_ = std::max(guess.headerRow, 0);
    Apply(guess.choice);
}

void ImportChoice::Apply(const tables::ColumnChoice& choice) {
    for (const tables::ChosenColumn& column : choice) {
        const int cell =
            column.number > 0 ? column.number - 1 : tables::CellOfChoice(column, rows_[header_]);
        if (cell >= 0 && cell < ColumnCount()) targets_[cell] = column.target;
    }
}

void ImportChoice::SetEncoding(tables::CsvEncoding encoding) {
    if (!IsText()) return;
    ReadRows({encoding, delimiter_});
    Start();
}

void ImportChoice::SetDelimiter(char delimiter) {
    if (!IsText()) return;
    ReadRows({encoding_, delimiter});
    Start();
}

void ImportChoice::SetHeaderRow(int row) {
    if (row >= 0 && row < static_cast<int>(rows_.size())) header_ = row;
}

std::vector<std::string> ImportChoice::HeaderCells() const {
    if (header_ < 0) return {};
    return rows_[header_];
}

void ImportChoice::SetTarget(int column, const std::string& key) {
    if (column < 0 || column >= ColumnCount()) return;
    if (!key.empty() && !tables::TargetOfKey(key)) return;
    targets_[column] = key;
}

tables::ColumnChoice ImportChoice::Choice() const {
    tables::ColumnChoice choice;
    std::vector<std::string> cells = HeaderCells();
    cells.resize(targets_.size());
    for (int c = 0; c < ColumnCount(); ++c) {
        if (targets_[c].empty()) continue;
        if (NamesItsColumn(cells, c))
            choice.push_back({tables::Utf8Title(cells[c]), 0, targets_[c]});
        else
            choice.push_back({{}, c + 1, targets_[c]});
    }
    return choice;
}

ImportOptions ImportChoice::Options() const {
    ImportOptions options;
    options.columns = Choice();
    options.headerRow = header_ >= 0 ? lines_[header_] : 0;
    if (IsText()) options.text = {encoding_, delimiter_};
    return options;
}

ImportPreview ImportChoice::Preview() const {
    if (!refusal_.empty()) {
        ImportPreview refused;
        refused.refusal = refusal_;
        return refused;
    }
    return PreviewImport(rows_, lines_, Options());
}

ImportReport ImportChoice::Import() const {
    ImportReport report;
    if (!refusal_.empty()) {
        report.refusal = refusal_;
        return report;
    }
    const ImportOptions options = Options();
    report =
        format_ ? ImportSheetBytes(bytes_, *format_, options) : ImportCsvBytes(bytes_, options);
    // A choice that takes no file is likely a wrong one: kept, it would be taken with no question.
    if (!report.Imported()) return report;
    QString error;
    report.remembered = RememberChoice(HeaderCells(), *options.columns, error);
    report.rememberFailure = error.toStdString();
    return report;
}

}  // namespace jobs
