// The new-list commands, the row commands and the operator's edits.
#include <QPushButton>

#include "Com.h"
#include "GridView.h"
#include "Texts.h"

namespace {

// What a list kind sets besides the grid.
struct ListSettings {
    QString prompt;
    QString openFilter;
    QString saveFilter;
    QString saveSuffix;
};

ListSettings SettingsOf(tables::ListKind kind) {
    if (kind == tables::ListKind::Plu)
        return {texts::NewPluListPrompt(), texts::PluOpenFilter(), texts::PluSaveFilter(),
                texts::PluSuffix()};
    return {texts::NewMsgListPrompt(), texts::MsgFilter(), texts::MsgFilter(), texts::MsgSuffix()};
}

}  // namespace

void TForm1::ApplyListKind(tables::ListKind kind) {
    const ListSettings settings = SettingsOf(kind);
    const bool plu = kind == tables::ListKind::Plu;
    Button21->setEnabled(true);
    Button22->setEnabled(plu);
    TableExists = true;
    TableIsPlu = plu;
    OpenDialog1.filter = settings.openFilter;
    SaveDialog1.filter = settings.saveFilter;
    SaveDialog1.defaultSuffix = settings.saveSuffix;
    // A quick save of the new list asks for a name instead of overwriting the
    // file of the earlier one.
    SaveDialog1.fileName = texts::NoName();
    TableFileName.clear();
    ShowGridStatus();
}

void TForm1::NewList(tables::ListKind kind) {
    if (TableModified && !PassSavePrompt(SettingsOf(kind).prompt)) return;
    TableModified = false;
    Memo1.clear();
    ApplyListKind(kind);
    StringGrid1->ReplaceKeepingCurrentCell(
        [kind](tables::Table& table) { tables::MakeNewList(table, kind); });
    StringGrid1->history().Fresh();
}

namespace {

// A row command is one step of the grid's undo stack.
void RowCommand(GridView& grid, void (*command)(tables::Table&, int)) {
    const int cur = grid.CurrentTableRow();
    grid.history().Record([&] {
        grid.ReplaceKeepingCurrentCell([command, cur](tables::Table& t) { command(t, cur); });
    });
}

}  // namespace

void TForm1::Button16Click() {
    RowCommand(*StringGrid1, [](tables::Table& t, int) { tables::AddRow(t); });
}
void TForm1::Button15Click() {
    RowCommand(*StringGrid1, tables::CopyRow);
}
void TForm1::Button14Click() {
    RowCommand(*StringGrid1, tables::InsRow);
}
void TForm1::Button13Click() {
    RowCommand(*StringGrid1, tables::DelRow);
}

void TForm1::StringGrid1SetEditText(int, int, const QString&) {
    TableModified = true;
}
