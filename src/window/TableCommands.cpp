// The new-list commands, the row commands and the operator's edits.
#include <QPushButton>

#include "Com.h"
#include "GridModel.h"
#include "GridView.h"
#include "TableWrites.h"

namespace {

// What a list kind sets besides the grid.
struct ListSettings {
    const char* prompt;
    const char* openFilter;
    const char* saveFilter;
    const char* saveSuffix;
};

const ListSettings& SettingsOf(tables::ListKind kind) {
    static const ListSettings plu{
        "Будет создан новый список товаров\r\nВ старой таблице  были изменения.\r\nСохранить ?",
        "*.plu;*.plw|*.plu;*.plw", "*.plu|*.plu", "plu"};
    static const ListSettings msg{
        "Будет создан новый список сообщений\r\nВ старой таблице  были изменения.\r\nСохранить ?",
        "*.msg|*.msg", "*.msg|*.msg", "msg"};
    return kind == tables::ListKind::Plu ? plu : msg;
}

}  // namespace

void TForm1::ApplyListKind(tables::ListKind kind) {
    const ListSettings& settings = SettingsOf(kind);
    const bool plu = kind == tables::ListKind::Plu;
    Button21->setEnabled(true);
    Button22->setEnabled(plu);
    TableExists = true;
    TableIsPlu = plu;
    OpenDialog1.filter = QString::fromLatin1(settings.openFilter);
    SaveDialog1.filter = QString::fromLatin1(settings.saveFilter);
    SaveDialog1.defaultSuffix = QString::fromLatin1(settings.saveSuffix);
    // A quick save of the new list asks for a name instead of overwriting the
    // file of the earlier one.
    SaveDialog1.fileName = QStringLiteral("noname1");
    TableFileName.clear();
}

void TForm1::NewList(tables::ListKind kind) {
    if (TableModified && !PassSavePrompt(QString::fromUtf8(SettingsOf(kind).prompt))) return;
    TableModified = false;
    Memo1.clear();
    ApplyListKind(kind);
    ReplaceKeepingCurrentCell(*StringGrid1, *model_,
                              [kind](tables::Table& table) { tables::MakeNewList(table, kind); });
}

void TForm1::Button18Click() {
    NewList(tables::ListKind::Plu);
}
void TForm1::Button17Click() {
    NewList(tables::ListKind::Msg);
}

namespace {

void OnCurrentRow(GridView& grid, GridModel& model, void (*command)(tables::Table&, int)) {
    const int cur = grid.CurrentTableRow();
    ReplaceKeepingCurrentCell(grid, model, [command, cur](tables::Table& t) { command(t, cur); });
}

}  // namespace

void TForm1::Button16Click() {
    ReplaceKeepingCurrentCell(*StringGrid1, *model_, tables::AddRow);
}
void TForm1::Button15Click() {
    OnCurrentRow(*StringGrid1, *model_, tables::CopyRow);
}
void TForm1::Button14Click() {
    OnCurrentRow(*StringGrid1, *model_, tables::InsRow);
}
void TForm1::Button13Click() {
    OnCurrentRow(*StringGrid1, *model_, tables::DelRow);
}

void TForm1::StringGrid1SetEditText(int, int, const QString&) {
    TableModified = true;
}
