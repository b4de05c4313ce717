#include "ListFile.h"

#include <QFileInfo>

#include "CodePage1251.h"
#include "CsvImport.h"
#include "Download.h"
#include "ListCheck.h"
#include "TableFile.h"

namespace cli {

std::string BadRowText(const BadRow& bad) {
    return (bad.fileLine ? "Строка файла " : "Строка ") + std::to_string(bad.row) + ", «" +
           bad.column + "»: " + bad.reason;
}

bool IsCsvFileName(const QString& path) {
    return QFileInfo(path).suffix().toLower() == QStringLiteral("csv");
}

std::optional<tables::ListKind> KindOfFileName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("plu")) return tables::ListKind::Plu;
    if (suffix == QStringLiteral("msg")) return tables::ListKind::Msg;
    return std::nullopt;
}

std::vector<BadRow> CheckRows(const tables::Table& table, tables::ListKind kind) {
    std::vector<tables::Row> rows;
    std::vector<int> numbers;
    for (int row = 1; row <= jobs::DataRows(table); ++row) {
        rows.push_back(table.RowAt(row));
        numbers.push_back(row);
    }
    // The scale takes a repeated number as a change of the record, as the window's download does.
    const std::vector<jobs::ListProblem> problems =
        jobs::CheckListRows(rows, numbers, kind, jobs::Duplicates::Allowed);
    const tables::Row& titles = tables::TitlesOf(kind);
    std::vector<BadRow> bad;
    for (const jobs::ListProblem& p : problems)
        bad.push_back({p.row, tables::Cp1251ToUtf8(titles[p.column]), p.reason});
    return bad;
}

namespace {

const char* KindText(tables::ListKind kind) {
    return kind == tables::ListKind::Plu ? "список PLU" : "список сообщений";
}

ListFile LoadCsvFile(const QString& path, std::optional<tables::ListKind> kind) {
    ListFile list;
    jobs::ImportReport report = jobs::ImportCsvFile(path);
    list.kind = report.kind;
    if (!report.refusal.empty()) {
        list.problem = report.refusal;
        return list;
    }
    if (kind && *kind != report.kind) {
        list.problem = "В файле " + path.toStdString() + " " + KindText(report.kind) +
                       ", а задан " + KindText(*kind);
        return list;
    }
    for (const jobs::ImportProblem& p : report.problems)
        list.badRows.push_back({p.line, p.column, p.reason, true});
    list.badRowCount = report.badRows;
    tables::WriteTitles(list.table, report.kind);
    tables::LoadRows(list.table, std::move(report.rows));
    return list;
}

}  // namespace

ListFile LoadListFile(const QString& path, std::optional<tables::ListKind> kind) {
    if (IsCsvFileName(path)) return LoadCsvFile(path, kind);
    ListFile list;
    list.kind = kind.value_or(tables::ListKind::Plu);
    std::string bytes;
    switch (tables::ReadTableFile(path, bytes)) {
        case tables::ReadResult::Ok:
            break;
        case tables::ReadResult::CannotOpen:
            list.problem = "Файл " + path.toStdString() + " не открывается";
            return list;
        case tables::ReadResult::TooLarge:
            list.problem = "Файл " + path.toStdString() + " больше 64 МБ: это не список";
            return list;
    }
    if (tables::HasTooManyRecords(bytes)) {
        list.problem = "В файле " + path.toStdString() + " больше " +
                       std::to_string(tables::kMaxTableRecords) + " записей: это не список";
        return list;
    }
    tables::WriteTitles(list.table, list.kind);
    tables::LoadRows(list.table, tables::ParseTableFile(bytes));
    list.badRows = CheckRows(list.table, list.kind);
    list.badRowCount = static_cast<int>(list.badRows.size());
    return list;
}

}  // namespace cli
