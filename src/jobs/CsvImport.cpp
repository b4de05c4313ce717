#include "CsvImport.h"

#include <algorithm>
#include <set>

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

// Up to a line's length of text: cut at the last space that keeps it within a line, or at the
// line's length when no space does. `next` is where the rest begins.
std::string FirstLine(const std::string& text, std::size_t& next) {
    constexpr std::size_t kLine = scale::kNameLineLength;
    next = text.size();
    if (text.size() <= kLine) return text;
    const std::size_t space = text.rfind(' ', kLine);
    if (space == std::string::npos) {
        next = kLine;
        return text.substr(0, kLine);
    }
    next = space + 1;
    return Trimmed(text.substr(0, space));
}

// A whole name over the two name lines, each cut between words where one fits; what line 2
// cannot hold is lost. True when something was lost.
bool SplitName(const std::string& name, std::string& line1, std::string& line2) {
    std::size_t next = 0;
    const std::string whole = Trimmed(name);
    line1 = FirstLine(whole, next);
    const std::string rest = Trimmed(whole.substr(next));
    line2 = FirstLine(rest, next);
    return next < rest.size();
}

// "PLU 2" or "сообщение 2" for a row whose number cell holds a number.
std::string RecordOf(const tables::Row& row, tables::ListKind kind) {
    std::int32_t number = 0;
    if (!scale::CellToInt(row[tables::kNumberColumn], number)) return {};
    return (kind == tables::ListKind::Plu ? "PLU " : "сообщение ") + std::to_string(number);
}

void SplitNames(tables::CsvRead& read, ImportReport& report) {
    for (std::size_t i = 0; i < read.rows.size(); ++i) {
        tables::Row& row = read.rows[i];
        const std::string whole = std::move(row[tables::Column::Name1]);
        if (SplitName(whole, row[tables::Column::Name1], row[tables::Column::Name2]))
            report.namesCut.push_back({read.lines[i], RecordOf(row, read.kind)});
    }
}

// Problems found while reading come first in their row; the check then sees a cell the reading
// could not take as a good one, so every other bad cell of the row is named too.
std::vector<ImportProblem> ProblemsOf(const tables::CsvRead& read) {
    std::vector<ImportProblem> problems;
    const auto add = [&](int line, const tables::Row& row, int column, std::string reason) {
        std::string title = read.titles[column];
        if (title.empty()) title = tables::Cp1251ToUtf8(tables::TitlesOf(read.kind)[column]);
        problems.push_back({line, RecordOf(row, read.kind), std::move(title), std::move(reason)});
    };
    std::vector<tables::Row> checked;
    std::set<std::pair<int, int>> unreadable;  // (line, column)
    if (!read.problems.empty()) checked = read.rows;
    for (const tables::CsvCellProblem& p : read.problems) {
        const int line = read.lines[p.row];
        unreadable.insert({line, p.column});
        add(line, read.rows[p.row], p.column, p.reason);
        // A number is needed to tell a repeated one, so an unreadable number stays as it is.
        if (p.column != tables::kNumberColumn) checked[p.row][p.column] = "0";
    }
    const std::vector<tables::Row>& rows = read.problems.empty() ? read.rows : checked;
    for (ListProblem& p :
         CheckListRows(rows, read.lines, read.kind, Duplicates::Refused, Cells::Every)) {
        if (unreadable.count({p.row, p.column})) continue;
        const auto at = std::lower_bound(read.lines.begin(), read.lines.end(), p.row);
        add(p.row, read.rows[at - read.lines.begin()], p.column, std::move(p.reason));
    }
    std::stable_sort(problems.begin(), problems.end(),
                     [](const auto& a, const auto& b) { return a.line < b.line; });
    return problems;
}

std::string Quoted(const std::string& text) {
    return "«" + text + "»";
}

// "строка 3, PLU 2", or "строка 3" for a row without a number.
std::string PlaceText(const char* word, int line, const std::string& record) {
    return word + std::to_string(line) + (record.empty() ? "" : ", " + record);
}

std::string PlacesText(const std::vector<RowPlace>& places) {
    std::string text;
    std::size_t shown = 0;
    for (; shown < places.size() && shown < kProblemsListed; ++shown)
        text +=
            (shown ? "; " : "") + PlaceText("строка ", places[shown].line, places[shown].record);
    const std::size_t more = places.size() - shown;
    return text + (more ? " и ещё " + std::to_string(more) : "");
}

std::string ProblemsText(const ImportReport& report) {
    std::string text;
    for (const ImportProblem& p : report.problems) text += ProblemText(p) + "\n";
    const int more = report.problemCount - static_cast<int>(report.problems.size());
    return text + "Строк с ошибками: " + std::to_string(report.badRows) +
           (more > 0 ? " (не показано ошибок: " + std::to_string(more) + ")" : "") +
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
            report.header.push_back(tables::Utf8Title(cell));
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
    for (const std::string& cell : read.header) report.header.push_back(tables::Utf8Title(cell));
    report.headerLine = read.headerLine;
    if (options.remember && options.columns) {
        QString error;
        report.remembered = RememberChoice(read.header, *options.columns, error);
        report.rememberFailure = error.toStdString();
    }
    if (read.wholeNames) SplitNames(read, report);
    std::vector<ImportProblem> problems = ProblemsOf(read);
    report.problemCount = static_cast<int>(problems.size());
    std::set<int> badLines;
    for (const ImportProblem& p : problems) badLines.insert(p.line);
    report.badRows = static_cast<int>(badLines.size());
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
    return ImportRead(tables::ReadCsv(bytes, RuleOf(options), options.text), options);
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

std::string ReadListFile(const QString& path, std::string& bytes) {
    switch (tables::ReadTableFile(path, bytes)) {
        case tables::ReadResult::Ok:
            return {};
        case tables::ReadResult::CannotOpen:
            return "Файл " + path.toStdString() + " не открывается";
        case tables::ReadResult::TooLarge:
            break;
    }
    return "Файл " + path.toStdString() + " больше 64 МБ: это не список";
}

ImportReport ImportListFile(const QString& path, const ImportOptions& options) {
    ImportReport report;
    std::string bytes;
    report.refusal = ReadListFile(path, bytes);
    if (!report.refusal.empty()) return report;
    if (const auto format = tables::SheetFormatOfName(path))
        return ImportSheetBytes(bytes, *format, options);
    return ImportCsvBytes(bytes, options);
}

ImportPreview PreviewImport(const std::vector<std::vector<std::string>>& rows,
                            const std::vector<int>& lines, const ImportOptions& options) {
    tables::CsvRead read = tables::ReadListRows(
        [&](const tables::CsvRecordSink& onRow) {
            for (std::size_t i = 0; i < rows.size() && i < lines.size(); ++i) {
                std::vector<std::string> cells = rows[i];
                if (!onRow(cells, lines[i])) break;
            }
            return std::string();
        },
        RuleOf(options));
    ImportPreview preview;
    preview.refusal = std::move(read.refusal);
    preview.kind = read.kind;
    preview.ignoredColumns = std::move(read.ignoredColumns);
    if (!preview.refusal.empty()) return preview;
    ImportReport notes;
    if (read.wholeNames) SplitNames(read, notes);
    const std::vector<ImportProblem> problems = ProblemsOf(read);
    for (std::size_t i = 0; i < read.rows.size(); ++i)
        preview.rows.push_back({read.lines[i], std::move(read.rows[i]), {}});
    for (const ImportProblem& p : problems) {
        const auto row = std::find_if(preview.rows.begin(), preview.rows.end(),
                                      [&](const PreviewRow& r) { return r.line == p.line; });
        if (row != preview.rows.end()) row->problems.push_back(Quoted(p.column) + ": " + p.reason);
    }
    return preview;
}

std::string NamesCutNote(const ImportReport& report) {
    if (report.namesCut.empty()) return {};
    return "Наименование не уместилось в две строки по " + std::to_string(scale::kNameLineLength) +
           " знаков и обрезано: " + PlacesText(report.namesCut);
}

std::string IgnoredColumnsNote(const ImportReport& report) {
    if (report.ignoredColumns.empty()) return {};
    std::string titles;
    for (const std::string& title : report.ignoredColumns)
        titles += (titles.empty() ? "" : ", ") + Quoted(title);
    return "Пропущены неизвестные столбцы: " + titles;
}

std::string ProblemText(const ImportProblem& problem) {
    return PlaceText("Строка ", problem.line, problem.record) + ", " + Quoted(problem.column) +
           ": " + problem.reason;
}

std::string ReportText(const ImportReport& report) {
    if (!report.refusal.empty()) return report.refusal;
    if (report.problemCount > 0) return ProblemsText(report);
    return ImportedText(report);
}

}  // namespace jobs
