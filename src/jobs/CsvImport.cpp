#include "CsvImport.h"

#include <algorithm>

#include "CodePage1251.h"
#include "Codec.h"
#include "ColumnGuess.h"
#include "CsvFile.h"
#include "ListCheck.h"
#include "ListRows.h"
#include "RememberedColumns.h"
#include "TableFile.h"

namespace jobs {
namespace {

std::string Trimmed(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return {};
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

// A whole name over the two name lines: line 1 ends at the last space that keeps it within a
// line, or is cut at a line's length when no space does; what line 2 cannot hold is lost.
// True when something was lost.
bool SplitName(const std::string& name, std::string& line1, std::string& line2) {
    constexpr std::size_t kLine = scale::kNameLineLength;
    const std::string whole = Trimmed(name);
    if (whole.size() <= kLine) {
        line1 = whole;
        line2.clear();
        return false;
    }
    const std::size_t space = whole.rfind(' ', kLine);
    const std::size_t end = space == std::string::npos ? kLine : space;
    const std::size_t next = space == std::string::npos ? kLine : space + 1;
    line1 = Trimmed(whole.substr(0, end));
    const std::string rest = Trimmed(whole.substr(next));
    line2 = rest.substr(0, kLine);
    return rest.size() > kLine;
}

void SplitNames(tables::CsvRead& read, ImportReport& report) {
    for (std::size_t i = 0; i < read.rows.size(); ++i) {
        tables::Row& row = read.rows[i];
        const std::string whole = std::move(row[tables::Column::Name1]);
        if (SplitName(whole, row[tables::Column::Name1], row[tables::Column::Name2]))
            report.namesCut.push_back(read.lines[i]);
    }
}

// Problems found while reading come first in their row: the check would only see the cell the
// reading could not take.
std::vector<ImportProblem> ProblemsOf(const tables::CsvRead& read) {
    std::vector<ImportProblem> problems;
    const auto add = [&](int line, int column, std::string reason) {
        std::string title = read.titles[column];
        if (title.empty()) title = tables::Cp1251ToUtf8(tables::TitlesOf(read.kind)[column]);
        problems.push_back({line, std::move(title), std::move(reason)});
    };
    std::vector<bool> unreadable(read.rows.size());
    for (const tables::CsvCellProblem& p : read.problems) {
        unreadable[p.row] = true;
        add(read.lines[p.row], p.column, p.reason);
    }
    for (ListProblem& p : CheckListRows(read.rows, read.lines, read.kind, Duplicates::Refused)) {
        const auto row = std::lower_bound(read.lines.begin(), read.lines.end(), p.row);
        if (!unreadable[row - read.lines.begin()]) add(p.row, p.column, std::move(p.reason));
    }
    std::stable_sort(problems.begin(), problems.end(),
                     [](const auto& a, const auto& b) { return a.line < b.line; });
    return problems;
}

std::string Quoted(const std::string& text) {
    return "«" + text + "»";
}

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
    return text;
}

std::string LinesText(const std::vector<int>& lines) {
    std::vector<std::string> shown;
    for (std::size_t i = 0; i < lines.size() && i < kProblemsListed; ++i)
        shown.push_back(std::to_string(lines[i]));
    const std::size_t more = lines.size() - shown.size();
    return Joined(shown) + (more ? " и ещё " + std::to_string(more) : "");
}

std::string ProblemsText(const ImportReport& report) {
    std::string text;
    for (const ImportProblem& p : report.problems) {
        text +=
            "Строка " + std::to_string(p.line) + ", " + Quoted(p.column) + ": " + p.reason + "\n";
    }
    const int more = report.problemCount - static_cast<int>(report.problems.size());
    return text + "Строк с ошибками: " + std::to_string(report.problemCount) +
           (more > 0 ? " (не показано: " + std::to_string(more) + ")" : "") +
           ". Ничего не импортировано";
}

std::string ImportedText(const ImportReport& report) {
    std::string text = "Импортировано строк: " + std::to_string(report.rows.size() - 1);
    for (const std::string& note : {NamesCutNote(report), IgnoredColumnsNote(report)})
        if (!note.empty()) text += "\n" + note;
    return text;
}

tables::HeaderRule RuleOf(const ImportOptions& options) {
    tables::HeaderRule rule;
    rule.choice = options.columns;
    rule.headerLine = options.headerRow;
    if (!options.columns) rule.remembered = RememberedChoice;
    return rule;
}

void TakeUnknownHeader(tables::CsvRead& read, ImportReport& report) {
    report.headerUnknown = true;
    // The row the reading took as the header, when it took one, is the one to guess for.
    const auto found =
        std::find(read.previewLines.begin(), read.previewLines.end(), read.headerLine);
    const int header = read.headerLine > 0 && found != read.previewLines.end()
                           ? static_cast<int>(found - read.previewLines.begin())
                           : -1;
    const ColumnGuess guess = GuessColumns(read.preview, header);
    if (guess.headerRow >= 0) {
        for (const std::string& cell : read.preview[guess.headerRow])
            report.header.push_back(tables::DecodeCp1251(cell).trimmed().toStdString());
        report.headerLine = read.previewLines[guess.headerRow];
    }
    report.guess = guess.choice;
    report.preview = std::move(read.preview);
}

// The one path of every kind of file from its rows read to the table's rows.
ImportReport ImportRead(tables::CsvRead read, const ImportOptions& options) {
    ImportReport report;
    report.refusal = read.refusal;
    report.kind = read.kind;
    report.ignoredColumns = read.ignoredColumns;
    if (read.headerUnknown) TakeUnknownHeader(read, report);
    if (!report.refusal.empty()) return report;
    for (const std::string& cell : read.header)
        report.header.push_back(tables::DecodeCp1251(cell).trimmed().toStdString());
    report.headerLine = read.headerLine;
    if (options.remember && options.columns) {
        QString error;
        report.remembered = RememberChoice(read.header, *options.columns, error);
        report.rememberFailure = error.toStdString();
    }
    if (read.wholeNames) SplitNames(read, report);
    std::vector<ImportProblem> problems = ProblemsOf(read);
    report.problemCount = static_cast<int>(problems.size());
    if (problems.empty()) {
        report.rows = std::move(read.rows);
        report.rows.push_back(tables::Row{tables::kEndMarker});
    } else {
        problems.resize(std::min<std::size_t>(problems.size(), kProblemsListed));
        report.problems = std::move(problems);
    }
    return report;
}

}  // namespace

ImportReport ImportCsvBytes(const std::string& bytes, const ImportOptions& options) {
    return ImportRead(tables::ReadCsv(bytes, RuleOf(options)), options);
}

ImportReport ImportSheetBytes(const std::string& bytes, tables::SheetFormat format,
                              const ImportOptions& options) {
    return ImportRead(tables::ReadListRows(
                          [&](const tables::CsvRecordSink& onRow) {
                              return tables::ForEachSheetRow(bytes, format, options.sheet, onRow);
                          },
                          RuleOf(options)),
                      options);
}

ImportReport ImportListFile(const QString& path, const ImportOptions& options) {
    ImportReport report;
    std::string bytes;
    switch (tables::ReadTableFile(path, bytes)) {
        case tables::ReadResult::Ok:
            break;
        case tables::ReadResult::CannotOpen:
            report.refusal = "Файл " + path.toStdString() + " не открывается";
            return report;
        case tables::ReadResult::TooLarge:
            report.refusal = "Файл " + path.toStdString() + " больше 64 МБ: это не список";
            return report;
    }
    if (const auto format = tables::SheetFormatOfName(path))
        return ImportSheetBytes(bytes, *format, options);
    return ImportCsvBytes(bytes, options);
}

ImportReport ImportCsvFile(const QString& path) {
    return ImportListFile(path);
}

std::string NamesCutNote(const ImportReport& report) {
    if (report.namesCut.empty()) return {};
    return "Наименование не уместилось в две строки по " + std::to_string(scale::kNameLineLength) +
           " знаков и обрезано в строках: " + LinesText(report.namesCut);
}

std::string IgnoredColumnsNote(const ImportReport& report) {
    if (report.ignoredColumns.empty()) return {};
    std::vector<std::string> titles;
    for (const std::string& title : report.ignoredColumns) titles.push_back(Quoted(title));
    return "Пропущены неизвестные столбцы: " + Joined(titles);
}

std::string ReportText(const ImportReport& report) {
    if (!report.refusal.empty()) return report.refusal;
    if (report.problemCount > 0) return ProblemsText(report);
    return ImportedText(report);
}

}  // namespace jobs
