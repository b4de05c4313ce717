// Save, QuickSave, Open, the save prompts and the close check.
#include "Com.h"
#include "GridView.h"
#include "TableFile.h"
#include "Texts.h"

bool TForm1::WriteTable() {
    QString cause;
    if (!tables::WriteTableFile(TableFileName, Grid(), tables::DataRowCount(Grid()), cause)) {
        dialogs_->ErrorBox(texts::SaveFailed(TableFileName, cause));
        return false;
    }
    TableModified = false;
    StringGrid1->history().Saved();
    return true;
}

bool TForm1::SaveWithDialog() {
    if (!TableExists) {
        dialogs_->PlainBox(texts::NothingToSave());
        return false;
    }
    const std::optional<QString> path = dialogs_->SaveFile(SaveDialog1);
    if (!path) return false;
    SaveDialog1.fileName = *path;
    TableFileName = *path;
    return WriteTable();
}

bool TForm1::QuickSave() {
    // Without a file of the table's own (the buffer save also confirms the save dialog), ask.
    const bool named = SaveDialog1.fileName != texts::NoName() && !TableFileName.isEmpty();
    return named ? WriteTable() : SaveWithDialog();
}

bool TForm1::PassSavePrompt(const QString& text) {
    SaveAnswer = dialogs_->SavePrompt(text);
    switch (SaveAnswer) {
        case Answer::No:
            return true;
        case Answer::Yes:
            // Going on after a save that did not happen would lose the edits.
            return QuickSave();
        default:
            return false;
    }
}

void TForm1::Button20Click() {
    if (dialogs_->ErrorBoxIf(!TableExists, texts::ChooseListKindFirst())) return;
    if (TableModified && !PassSavePrompt(texts::OpenPrompt())) return;
    TableModified = false;
    OpenDialog1.fileName.clear();
    if (OpenDialog1.filter == texts::PluOpenFilter())
        OpenDialog1.title = texts::OpenPluTitle();
    else if (OpenDialog1.filter == texts::MsgFilter())
        OpenDialog1.title = texts::OpenMsgTitle();
    const std::optional<QString> path = dialogs_->OpenFile(OpenDialog1);
    if (!path) return;
    Memo1.clear();
    const QString failure = texts::ReadFailure(tables::ReadTableFile(*path, Memo1), *path);
    if (dialogs_->ErrorBoxIf(!failure.isEmpty(), failure)) return;
    if (tables::HasTooManyRecords(Memo1)) {
        Memo1 = std::string();
        dialogs_->ErrorBox(texts::TooManyRecords(*path, tables::kMaxTableRecords));
        return;
    }
    // Only a file that was read becomes the quick save's target: a file that failed (one over
    // 64 MiB is no list) must never be written over with this table.
    TableFileName = *path;
    std::vector<tables::Row> rows = tables::ParseTableFile(Memo1);
    StringGrid1->ReplaceKeepingCurrentCell(
        [&rows](tables::Table& table) { tables::LoadRows(table, std::move(rows)); });
    StringGrid1->history().Fresh();
}

void TForm1::SaveT() {
    SaveAnswer = dialogs_->SavePrompt(texts::ClosePrompt());
    if (SaveAnswer == Answer::Yes) Button19Click();
}

void TForm1::FormCloseQuery(bool& CanClose) {
    if (!TableModified) {
        CanClose = true;
        return;
    }
    SaveT();
    // A Yes whose save did not happen keeps the window and its edits.
    CanClose = SaveAnswer == Answer::No || (SaveAnswer == Answer::Yes && !TableModified);
}
