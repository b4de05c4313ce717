#include "ListFile.h"

#include <QFileInfo>

#include "CodePage1251.h"
#include "CsvImport.h"
#include "Download.h"
#include "ImportArguments.h"
#include "ListCheck.h"
#include "SheetFile.h"
#include "TableFile.h"

namespace cli {

std::string BadRowText(const BadRow& bad) {
    return (bad.fileLine ? "Строка файла " : "Строка ") + std::to_string(bad.row) +
           (bad.record.empty() ? "" : ", " + bad.record) + ", «" + bad.column + "»: " + bad.reason;
}

bool IsCsvFileName(const QString& path) {
    return QFileInfo(path).suffix().toLower() == QStringLiteral("csv");
}

bool IsImportedFileName(const QString& path) {
    return IsCsvFileName(path) || tables::SheetFormatOfName(path).has_value();
}

std::optional<tables::ListKind> KindOfFileName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("plu")) return tables::ListKind::Plu;
    if (suffix == QStringLiteral("msg")) return tables::ListKind::Msg;
    return std::nullopt;
}

const char* KindName(tables::ListKind kind) {
    return kind == tables::ListKind::Plu ? "plu" : "msg";
}

const char* KindText(tables::ListKind kind) {
    return kind == tables::ListKind::Plu ? "список PLU" : "список сообщений";
}

namespace {

// Every row of the table that the download would refuse, in order.
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
        bad.push_back({p.row, tables::Cp1251ToUtf8(titles[p.column]), p.reason, false, {}});
    return bad;
}

// Why nothing can be read at the path, in a few words; empty when it may be.
std::string UnreadableReason(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink() && !info.exists()) return "ссылка ведёт к файлу, которого нет";
    if (!info.exists()) return "такого файла нет";
    if (info.isDir()) return "это папка, а нужен файл списка";
    if (!info.isReadable()) return "нет прав на его чтение";
    return {};
}

// The list as far as it was read, refused for the reason given.
ListFile Refused(ListFile list, std::string problem) {
    list.problem = std::move(problem);
    return list;
}

ListFile LoadCsvFile(const QString& path, std::optional<tables::ListKind> kind,
                     const jobs::ImportOptions& import) {
    ListFile list;
    jobs::ImportReport report = jobs::ImportListFile(path, import);
    list.kind = report.kind;
    if (!report.refusal.empty())
        return Refused(list, report.refusal + (report.headerUnknown ? ColumnsHint(report) : ""));
    if (kind && *kind != report.kind)
        return Refused(list, "В файле " + path.toStdString() + " " + KindText(report.kind) +
                                 ", а задан " + KindText(*kind));
    for (const jobs::ImportProblem& p : report.problems)
        list.badRows.push_back({p.line, p.column, p.reason, true, p.record});
    list.badRowCount = report.badRows;
    tables::WriteTitles(list.table, report.kind);
    tables::LoadRows(list.table, std::move(report.rows));
    report.rows.clear();
    list.imported = std::move(report);
    return list;
}

}  // namespace

ListFile LoadListFile(const QString& path, std::optional<tables::ListKind> kind,
                      const jobs::ImportOptions& import) {
    ListFile list;
    const std::string name = path.toStdString();
    if (const std::string why = UnreadableReason(path); !why.empty())
        return Refused(list, "Файл " + name + " не открывается: " + why);
    if (IsImportedFileName(path)) return LoadCsvFile(path, kind, import);
    const std::optional<tables::ListKind> named = KindOfFileName(path);
    if (kind && named && *kind != *named)
        return Refused(list, "Файл " + name + " по расширению — " + KindText(*named) +
                                 ", а задан " + KindText(*kind));
    list.kind = kind.value_or(tables::ListKind::Plu);
    std::string bytes;
    switch (tables::ReadTableFile(path, bytes)) {
        case tables::ReadResult::Ok:
            break;
        case tables::ReadResult::CannotOpen:
            return Refused(list, "Файл " + name + " не открывается");
        case tables::ReadResult::TooLarge:
            return Refused(list, "Файл " + name + " больше 64 МБ: это не список");
    }
    if (bytes.find_first_not_of(" \t\r\n") == std::string::npos)
        return Refused(list, "Файл " + name + " пуст: в нём нет ни одной записи");
    if (tables::LooksBinary(bytes))
        return Refused(list, "Файл " + name + " не похож на файл списка: в нём двоичные данные");
    if (tables::HasTooManyRecords(bytes))
        return Refused(list, "В файле " + name + " больше " +
                                 std::to_string(tables::kMaxTableRecords) +
                                 " записей: это не список");
    tables::WriteTitles(list.table, list.kind);
    tables::LoadRows(list.table, tables::ParseTableFile(bytes));
    list.badRows = CheckRows(list.table, list.kind);
    list.badRowCount = static_cast<int>(list.badRows.size());
    return list;
}

}  // namespace cli
