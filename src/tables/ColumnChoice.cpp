#include "ColumnChoice.h"

#include <QString>
#include <algorithm>

#include "CodePage1251.h"

namespace tables {
namespace {

std::vector<std::string> Pieces(const std::string& text) {
    std::vector<std::string> pieces;
    std::string pending;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        const std::size_t comma = std::min(text.find(',', begin), text.size());
        pending += text.substr(begin, comma - begin);
        if (pending.find('=') != std::string::npos || comma == text.size()) {
            pieces.push_back(pending);
            pending.clear();
        } else {
            pending += ',';
        }
        begin = comma + 1;
    }
    return pieces;
}

bool IsNumber(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

std::string KnownKeysText() {
    return "plu, name1, name2, price, shelf_life, tare, item_code, group, message, name, "
           "price_rub, number, line1..line8";
}

}  // namespace

std::optional<ColumnChoice> ParseColumnChoice(const std::string& text, std::string& error) {
    ColumnChoice choice;
    for (const std::string& piece : Pieces(text)) {
        const std::size_t equals = piece.rfind('=');
        const QString left = QString::fromStdString(piece.substr(0, equals)).trimmed();
        const std::string target = equals == std::string::npos
                                       ? ""
                                       : QString::fromStdString(piece.substr(equals + 1))
                                             .trimmed()
                                             .toLower()
                                             .toStdString();
        if (equals == std::string::npos || left.isEmpty()) {
            error = "--columns: нужно СТОЛБЕЦ=ЧТО через запятую, а не «" + piece + "»";
            return std::nullopt;
        }
        if (!target.empty() && !TargetOfKey(target)) {
            error = "--columns: «" + target + "» — не столбец списка; есть " + KnownKeysText();
            return std::nullopt;
        }
        ChosenColumn chosen{left.toStdString(), 0, target};
        if (IsNumber(left)) {
            chosen = {{}, left.toInt(), target};
            if (chosen.number < 1) {
                error = "--columns: столбцы считаются от 1";
                return std::nullopt;
            }
        }
        choice.push_back(chosen);
    }
    return choice;
}

std::string ColumnChoiceText(const ColumnChoice& choice) {
    std::string text;
    for (const ChosenColumn& c : choice) {
        if (!text.empty()) text += ',';
        text += (c.number > 0 ? std::to_string(c.number) : c.title) + "=" + c.target;
    }
    return text;
}

std::string ChosenName(const ChosenColumn& column) {
    if (column.number > 0) return "столбец " + std::to_string(column.number);
    return "«" + column.title + "»";
}

int CellOfChoice(const ChosenColumn& column, const std::vector<std::string>& cells) {
    if (column.number > 0) {
        const std::size_t index = static_cast<std::size_t>(column.number - 1);
        return index < cells.size() && !cells[index].empty() ? static_cast<int>(index) : -1;
    }
    const QString wanted = TitleKey(QString::fromStdString(column.title));
    for (std::size_t i = 0; i < cells.size(); ++i)
        if (TitleKey(DecodeCp1251(cells[i])) == wanted) return static_cast<int>(i);
    return -1;
}

bool RowFitsChoice(const ColumnChoice& choice, const std::vector<std::string>& cells) {
    bool any = false;
    for (const ChosenColumn& column : choice) {
        if (column.target.empty()) continue;
        any = true;
        if (CellOfChoice(column, cells) < 0) return false;
    }
    return any;
}

}  // namespace tables
