#pragma once
// The operator's choice of what each column of a list's file is, by the header's title or by
// the column's number, written as "Код=plu,Наименование=name,Цена=price_rub".

#include <optional>
#include <string>
#include <vector>

#include "CsvHeader.h"

namespace tables {

struct ChosenColumn {
    std::string title;   // UTF-8; empty when the column is chosen by its number
    int number = 0;      // from 1; 0 when chosen by its title
    std::string target;  // a key of TargetOfKey; empty for a column not taken
};

// The keys, then nothing: "Штрихкод=" leaves the column out. A title may hold commas ("Цена,
// руб=price_rub"): a piece with no '=' belongs to the next one. error says what is wrong in
// Russian.
std::optional<ColumnChoice> ParseColumnChoice(const std::string& text, std::string& error);
// The choice as ParseColumnChoice reads it.
std::string ColumnChoiceText(const ColumnChoice& choice);

// "«Код»" or "столбец 3", as messages name a chosen column.
std::string ChosenName(const ChosenColumn& column);
// The header cell (code page 1251) the column is, or -1 when the row has none such.
int CellOfChoice(const ChosenColumn& column, const std::vector<std::string>& cells);
// True when every column taken has a title in the row: the row is the choice's header.
bool RowFitsChoice(const ColumnChoice& choice, const std::vector<std::string>& cells);

}  // namespace tables
