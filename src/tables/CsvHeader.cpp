// Column titles a list's CSV file may have: the table's own, English keys, and the forms
// accounting exports use.
#include "CsvHeader.h"

#include <QHash>
#include <QString>

#include "CodePage1251.h"
#include "ColumnChoice.h"

namespace tables {

std::string Utf8Title(const std::string& cp1251) {
    return DecodeCp1251(cp1251).trimmed().toStdString();
}

namespace {

using Titles = QHash<QString, CsvColumn>;

QString KeyOf(const QString& title) {
    return TitleKey(title);
}

QString KeyOf(const std::string& cp1251) {
    return KeyOf(DecodeCp1251(cp1251));
}

void AddOwnTitles(Titles& titles, ListKind kind) {
    for (int c = 0; c < kColumns; ++c) titles.insert(KeyOf(TitlesOf(kind)[c]), {c});
}

// The keys a column may be chosen by; each is a title of its kind too.
const std::vector<std::pair<QString, ColumnTarget>>& TargetKeys() {
    static const auto keys = [] {
        std::vector<std::pair<QString, ColumnTarget>> k;
        const char* const plu[] = {"plu",  "name1",     "name2", "price",  "shelf_life",
                                   "tare", "item_code", "group", "message"};
        for (int c = 0; c < kColumns; ++c) k.push_back({plu[c], {ListKind::Plu, {c}}});
        k.push_back({"name", {ListKind::Plu, {Column::Name1, CsvSource::WholeName}}});
        k.push_back({"price_rub", {ListKind::Plu, {Column::Price, CsvSource::Roubles}}});
        k.push_back({"number", {ListKind::Msg, {MsgColumn::Number}}});
        for (int line = 1; line < kColumns; ++line)
            k.push_back({QStringLiteral("line%1").arg(line), {ListKind::Msg, {line}}});
        return k;
    }();
    return keys;
}

void AddKeys(Titles& titles, ListKind kind) {
    for (const auto& [key, target] : TargetKeys())
        if (target.kind == kind) titles.insert(key, target.column);
}

const Titles& PluTitles() {
    static const Titles titles = [] {
        Titles t;
        AddOwnTitles(t, ListKind::Plu);
        AddKeys(t, ListKind::Plu);
        t.insert(KeyOf(QString::fromUtf8("наименование")), {Column::Name1, CsvSource::WholeName});
        t.insert(KeyOf(QString::fromUtf8("срок годности")), {Column::ShelfLife});
        for (const char* price : {"цена, руб", "цена, руб."})
            t.insert(KeyOf(QString::fromUtf8(price)), {Column::Price, CsvSource::Roubles});
        return t;
    }();
    return titles;
}

const Titles& MsgTitles() {
    static const Titles titles = [] {
        Titles t;
        AddOwnTitles(t, ListKind::Msg);
        AddKeys(t, ListKind::Msg);
        t.insert(KeyOf(QString::fromUtf8("№ сообщения")), {MsgColumn::Number});
        for (int line = 1; line < kColumns; ++line)
            t.insert(KeyOf(QStringLiteral("Строка %1").arg(line)), {line});
        return t;
    }();
    return titles;
}

std::string KeyOfTarget(ListKind kind, const CsvColumn& column) {
    for (const auto& [key, target] : TargetKeys()) {
        if (target.kind == kind && target.column.column == column.column &&
            target.column.source == column.source)
            return key.toStdString();
    }
    return {};
}

const Titles& TitlesFor(ListKind kind) {
    return kind == ListKind::Plu ? PluTitles() : MsgTitles();
}

bool NamesNumberColumn(const std::vector<std::string>& cells, ListKind kind) {
    for (const std::string& cell : cells) {
        const auto found = TitlesFor(kind).constFind(KeyOf(cell));
        if (found != TitlesFor(kind).constEnd() && found->column == kNumberColumn &&
            found->source == CsvSource::Cell) {
            return true;
        }
    }
    return false;
}

std::string Quoted(const std::string& utf8) {
    return "«" + utf8 + "»";
}

// Takes a known column unless another already fills one of its table columns. A whole name
// fills both name lines.
bool TakeColumn(CsvHeader& header, const CsvColumn& column, const std::string& title) {
    const int last = column.source == CsvSource::WholeName ? Column::Name2 : column.column;
    for (int c = column.column; c <= last; ++c) {
        if (header.titles[c].empty()) continue;
        header.refusal = "В заголовке два столбца для " +
                         Quoted(Utf8Title(TitlesOf(header.kind)[c])) + ": " +
                         Quoted(header.titles[c]) + " и " + Quoted(title);
        return false;
    }
    for (int c = column.column; c <= last; ++c) header.titles[c] = title;
    header.columns.push_back(column);
    return true;
}

// The kind the chosen keys make, or why they make none.
std::string KindOfChoice(const ColumnChoice& choice, ListKind& kind) {
    bool plu = false;
    bool msg = false;
    bool number = false;
    for (const ChosenColumn& chosen : choice) {
        const auto target = TargetOfKey(chosen.target);
        if (!target) continue;
        (target->kind == ListKind::Plu ? plu : msg) = true;
        number = number || (target->column.column == kNumberColumn &&
                            target->column.source == CsvSource::Cell);
    }
    if (plu && msg) return "В выборе столбцов смешаны столбцы списка PLU и списка сообщений";
    kind = msg ? ListKind::Msg : ListKind::Plu;
    if (!number)
        return "В выборе столбцов нет номера: plu для списка PLU или number для списка сообщений";
    return {};
}

}  // namespace

QString TitleKey(const QString& title) {
    return title.trimmed().toLower().replace(QChar(u'ё'), QChar(u'е'));
}

std::optional<ColumnTarget> TargetOfKey(const std::string& key) {
    const QString wanted = QString::fromStdString(key).trimmed().toLower();
    for (const auto& [k, target] : TargetKeys())
        if (k == wanted) return target;
    return std::nullopt;
}

std::vector<std::string> ColumnKeys() {
    std::vector<std::string> keys;
    for (const auto& entry : TargetKeys()) keys.push_back(entry.first.toStdString());
    return keys;
}

std::string KeyOfKnownTitle(const std::string& cell) {
    const QString key = KeyOf(cell);
    for (const ListKind kind : {ListKind::Plu, ListKind::Msg}) {
        const auto found = TitlesFor(kind).constFind(key);
        if (found != TitlesFor(kind).constEnd()) return KeyOfTarget(kind, *found);
    }
    return {};
}

CsvHeader HeaderOfChoice(const ColumnChoice& choice, const std::vector<std::string>& cells) {
    CsvHeader header;
    header.refusal = KindOfChoice(choice, header.kind);
    if (!header.refusal.empty()) return header;
    std::vector<const ChosenColumn*> chosen(cells.size(), nullptr);
    for (const ChosenColumn& column : choice) {
        const int cell = CellOfChoice(column, cells);
        if (cell < 0 && !column.target.empty()) {
            header.refusal = column.number > 0 ? "В заголовке пуст " + ChosenName(column)
                                               : "В заголовке нет столбца " + ChosenName(column);
            return header;
        }
        if (cell >= static_cast<int>(chosen.size())) chosen.resize(cell + 1, nullptr);
        if (cell >= 0) chosen[cell] = &column;
    }
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const std::string title = i < cells.size() ? Utf8Title(cells[i]) : std::string();
        const auto target = chosen[i] ? TargetOfKey(chosen[i]->target) : std::nullopt;
        if (!target) {
            if (!title.empty()) header.ignored.push_back(title);
            header.columns.push_back({});
            continue;
        }
        // A column chosen by its number and left untitled is named by that number.
        if (!TakeColumn(header, target->column, title.empty() ? ChosenName(*chosen[i]) : title))
            return header;
    }
    return header;
}

int KnownTitleCount(const std::vector<std::string>& cells) {
    int known = 0;
    for (const std::string& cell : cells) {
        const QString key = KeyOf(cell);
        if (PluTitles().contains(key) || MsgTitles().contains(key)) ++known;
    }
    return known;
}

CsvHeader ReadCsvHeader(const std::vector<std::string>& cells) {
    CsvHeader header;
    // A PLU list's "№ Сообщения" is its message number column, so its "PLU" decides first.
    if (NamesNumberColumn(cells, ListKind::Plu)) {
        header.kind = ListKind::Plu;
    } else if (NamesNumberColumn(cells, ListKind::Msg)) {
        header.kind = ListKind::Msg;
    } else {
        header.refusal =
            "В заголовке нет столбца номера: «PLU» для списка PLU или «MSG» для "
            "списка сообщений";
        return header;
    }
    const Titles& titles = TitlesFor(header.kind);
    for (const std::string& cell : cells) {
        const std::string title = Utf8Title(cell);
        const auto found = titles.constFind(KeyOf(cell));
        if (found == titles.constEnd()) {
            // A column with no title says nothing the operator could look for.
            if (!title.empty()) header.ignored.push_back(title);
            header.columns.push_back({});
        } else if (!TakeColumn(header, *found, title)) {
            return header;
        }
    }
    return header;
}

}  // namespace tables
