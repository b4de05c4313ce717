#include "ListFile.h"

#include <QFileInfo>

#include "CodePage1251.h"
#include "Download.h"
#include "ListCheck.h"
#include "TableFile.h"

namespace cli {

std::string BadRowText(const BadRow& bad) {
    return "Строка " + std::to_string(bad.row) + ", «" + bad.column + "»: " + bad.reason;
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

ListFile LoadListFile(const QString& path, tables::ListKind kind) {
    ListFile list;
    list.kind = kind;
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
    tables::WriteTitles(list.table, kind);
    tables::LoadRows(list.table, tables::ParseTableFile(bytes));
    list.badRows = CheckRows(list.table, kind);
    return list;
}

}  // namespace cli
