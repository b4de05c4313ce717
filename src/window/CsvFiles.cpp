// Lists to and from the CSV files of spreadsheets and accounting programs.

#include "Com.h"
#include "CsvFile.h"
#include "CsvImport.h"
#include "GridModel.h"
#include "GridView.h"
#include "TableWrites.h"
#include "Texts.h"

void TForm1::ImportCsv() {
    if (TableModified && !PassSavePrompt(texts::OpenPrompt())) return;
    const std::optional<QString> path =
        dialogs_->OpenFile({texts::ImportCsvTitle(), texts::CsvOpenFilter(), {}, {}});
    if (!path) return;
    jobs::ImportReport report = jobs::ImportCsvFile(*path);
    const QString said = QString::fromStdString(jobs::ReportText(report));
    // Taken whole or not at all: a refused file leaves the table as it was.
    if (!report.Imported()) {
        dialogs_->ErrorBox(said);
        return;
    }
    TableModified = false;
    Memo1.clear();
    // A new list of the file's kind; it has no table file of its own yet.
    ApplyListKind(report.kind);
    ReplaceKeepingCurrentCell(*StringGrid1, *model_, [&](tables::Table& table) {
        tables::WriteTitles(table, report.kind);
        tables::LoadRows(table, std::move(report.rows));
    });
    StringGrid1->history().Fresh();
    dialogs_->PlainBox(said);
}

void TForm1::ExportCsv() {
    if (!TableExists) {
        dialogs_->PlainBox(texts::NothingToSave());
        return;
    }
    const std::optional<ChosenFile> chosen = dialogs_->SaveFileChoosingFilter(
        {texts::ExportCsvTitle(), texts::CsvSaveFilter(), QStringLiteral("csv"), {}});
    if (!chosen) return;
    const tables::CsvEncoding encoding =
        chosen->filter == 1 ? tables::CsvEncoding::Cp1251 : tables::CsvEncoding::Utf8;
    const tables::ListKind kind = ListKindNow();
    QString cause;
    if (!tables::WriteCsvFile(chosen->path, Grid(), kind, tables::DataRowCount(Grid()), encoding,
                              cause))
        dialogs_->ErrorBox(texts::SaveFailed(chosen->path, cause));
}
