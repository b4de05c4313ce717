// The two list layouts and the new-list command's grid.
#include <QString>

#include "CodePage1251.h"
#include "Table.h"

namespace tables {
namespace {

Row EncodeTitles(const char* const (&utf8)[kColumns]) {
    Row titles;
    for (int c = 0; c < kColumns; ++c) titles[c] = EncodeCp1251(QString::fromUtf8(utf8[c]));
    return titles;
}

const Row& PluTitles() {
    static const Row titles =
        EncodeTitles({"PLU", "Первая строка", "Вторая строка", "Цена", "Срок хранения", "Вес тары",
                      "Код товара", "Код группы", "№ Сообщения"});
    return titles;
}

const Row& MsgTitles() {
    static const Row titles =
        EncodeTitles({"MSG", "Первая строка", "Вторая строка", "Третья строка", "Четвертая строка",
                      "Пятая строка", "Шестая строка", "Седьмая строка", "Восьмая строка"});
    return titles;
}

Row FirstRecord(ListKind kind) {
    Row record;
    record[kNumberColumn] = "1";
    if (kind == ListKind::Plu) {
        for (int c = Column::Price; c <= Column::Message; ++c) record[c] = "0";
    }
    return record;
}

}  // namespace

const Row& TitlesOf(ListKind kind) {
    return kind == ListKind::Plu ? PluTitles() : MsgTitles();
}

void WriteTitles(Table& table, ListKind kind) {
    if (table.RowCount() < 1) table.SetRowCount(1);
    table.SetRow(0, TitlesOf(kind));
}

void MakeNewList(Table& table, ListKind kind) {
    table.SetRowCount(3);
    WriteTitles(table, kind);
    table.SetRow(1, FirstRecord(kind));
    WriteEndMarker(table, 2);
}

}  // namespace tables
