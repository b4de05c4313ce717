#include "ListFile.h"

#include <QFileInfo>

#include "CodePage1251.h"
#include "Codec.h"
#include "Download.h"
#include "RowValidation.h"
#include "TableFile.h"

namespace cli {

namespace {

std::string Utf8(const std::string& cp1251) {
    return tables::DecodeCp1251(cp1251).toStdString();
}

// Leading spaces, an optional sign, then digits only: a number, though maybe too large.
bool LooksDecimal(const std::string& cell) {
    std::size_t i = cell.find_first_not_of(' ');
    if (i == std::string::npos) return false;
    if (cell[i] == '-' || cell[i] == '+') ++i;
    return i < cell.size() && cell.find_first_not_of("0123456789", i) == std::string::npos;
}

std::string ReasonOf(const scale::RowCheck& check, const std::string& cell) {
    if (check.problem == scale::RowProblem::BadShelfLife) return "срок годности вне 0..366";
    std::int32_t ignored = 0;
    if (scale::CellToInt(cell, ignored) || LooksDecimal(cell))
        return "число не помещается в поле: " + Utf8(cell);
    return "не число: «" + Utf8(cell) + "»";
}

}  // namespace

std::optional<tables::ListKind> KindOfFileName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("plu")) return tables::ListKind::Plu;
    if (suffix == QStringLiteral("msg")) return tables::ListKind::Msg;
    return std::nullopt;
}

std::vector<BadRow> CheckRows(const tables::Table& table, tables::ListKind kind) {
    const scale::RowKind rowKind =
        kind == tables::ListKind::Plu ? scale::RowKind::Plu : scale::RowKind::Message;
    const tables::Row& titles = tables::TitlesOf(kind);
    std::vector<BadRow> bad;
    for (int row = 1; row <= jobs::DataRows(table); ++row) {
        const tables::Row& cells = table.RowAt(row);
        const scale::RowCheck check = scale::ValidateRow(cells, rowKind);
        if (check.ok()) continue;
        const auto column = static_cast<std::size_t>(check.column);
        bad.push_back({row, Utf8(titles[column]), ReasonOf(check, cells[column])});
    }
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
