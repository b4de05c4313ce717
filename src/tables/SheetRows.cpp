#include "SheetRows.h"

#include <QStringView>
#include <algorithm>

#include "CodePage1251.h"

namespace tables {

void SheetRow::Put(int column, const std::string& utf8) {
    if (column < 0 || column >= kMaxSheetColumns || utf8.empty() || !Walk()) return;
    if (static_cast<int>(cells_.size()) <= column) cells_.resize(column + 1);
    // A cut in the middle of a character leaves bytes that are no UTF-8, taken as they are.
    const std::string_view text(utf8.data(), std::min(utf8.size(), kMaxCellBytes));
    if (!Utf8ToCp1251(text, cells_[column])) cells_[column] = std::string(text);
}

bool SheetRow::End(int line) {
    const bool any =
        std::any_of(cells_.begin(), cells_.end(), [](const std::string& c) { return !c.empty(); });
    if (any && !stopped_) stopped_ = !onRow_(cells_, line);
    cells_.clear();
    return !stopped_;
}

QStringView AttributeView(const QXmlStreamAttributes& attributes, QLatin1String name) {
    for (const QXmlStreamAttribute& a : attributes)
        if (a.name() == name) return a.value();
    return {};
}

QString AttributeOf(const QXmlStreamAttributes& attributes, QLatin1String name) {
    return AttributeView(attributes, name).toString();
}

bool SheetRow::Walk() {
    if (++walked_ > kMaxSheetElements) stopped_ = true;
    return !stopped_;
}

std::string SheetRow::Refusal() const {
    if (walked_ <= kMaxSheetElements) return {};
    return "В листе больше " + std::to_string(kMaxSheetElements / 1'000'000) +
           " млн строк и ячеек: это не список";
}

int ColumnOfReference(const QStringView reference) {
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference[i] >= u'A' && reference[i] <= u'Z'; ++i) {
        column = column * 26 + (reference[i].unicode() - u'A' + 1);
        if (column > kMaxSheetColumns) return kMaxSheetColumns;
    }
    return i == 0 ? -1 : column - 1;
}

}  // namespace tables
