// Column titles a list's CSV file may have: the table's own, English keys, and the forms
// accounting exports use.
#include "CsvHeader.h"

#include <QHash>
#include <QString>

#include "CodePage1251.h"

namespace tables {
namespace {

using Titles = QHash<QString, CsvColumn>;

// Case and surrounding spaces do not count, nor does "ё" against "е" ("Четвёртая строка").
QString KeyOf(const QString& title) {
    return title.trimmed().toLower().replace(QChar(u'ё'), QChar(u'е'));
}

QString KeyOf(const std::string& cp1251) {
    return KeyOf(DecodeCp1251(cp1251));
}

void AddOwnTitles(Titles& titles, ListKind kind) {
    for (int c = 0; c < kColumns; ++c) titles.insert(KeyOf(TitlesOf(kind)[c]), {c});
}

const Titles& PluTitles() {
    static const Titles titles = [] {
        Titles t;
        AddOwnTitles(t, ListKind::Plu);
        const char* const keys[] = {"plu",  "name1",     "name2", "price",  "shelf_life",
                                    "tare", "item_code", "group", "message"};
        for (int c = 0; c < kColumns; ++c) t.insert(QString::fromLatin1(keys[c]), {c});
        for (const char* name : {"name", "наименование"})
            t.insert(KeyOf(QString::fromUtf8(name)), {Column::Name1, CsvSource::WholeName});
        for (const char* price : {"price_rub", "цена, руб", "цена, руб."})
            t.insert(KeyOf(QString::fromUtf8(price)), {Column::Price, CsvSource::Roubles});
        return t;
    }();
    return titles;
}

const Titles& MsgTitles() {
    static const Titles titles = [] {
        Titles t;
        AddOwnTitles(t, ListKind::Msg);
        for (const char* number : {"number", "№ сообщения"})
            t.insert(KeyOf(QString::fromUtf8(number)), {MsgColumn::Number});
        for (int line = 1; line < kColumns; ++line) {
            t.insert(QStringLiteral("line%1").arg(line), {line});
            t.insert(KeyOf(QStringLiteral("Строка %1").arg(line)), {line});
        }
        return t;
    }();
    return titles;
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

std::string Utf8Title(const std::string& cp1251) {
    return DecodeCp1251(cp1251).trimmed().toStdString();
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

}  // namespace

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
