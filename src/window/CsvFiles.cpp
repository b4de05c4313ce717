// Lists to and from the CSV files and workbooks of spreadsheets and accounting programs.

#include "Com.h"
#include "CsvFile.h"
#include "CsvImport.h"
#include "GridView.h"
#include "ImportChoice.h"
#include "ImportTexts.h"
#include "SheetFile.h"
#include "Texts.h"

void TForm1::ImportList(bool askColumns) {
    if (TableModified && !PassSavePrompt(texts::OpenPrompt())) return;
    const std::optional<QString> path =
        dialogs_->OpenFile({texts::ImportCsvTitle(), texts::CsvOpenFilter(), {}, {}});
    if (!path) return;
    std::string bytes;
    jobs::ImportReport report;
    report.refusal = jobs::ReadListFile(*path, bytes);
    const std::optional<tables::SheetFormat> format = tables::SheetFormatOfName(*path);
    if (report.refusal.empty() && !askColumns) {
        report = format ? jobs::ImportSheetBytes(bytes, *format) : jobs::ImportCsvBytes(bytes);
    }
    // A header nobody chose the columns for is asked about, not refused.
    const bool ask = askColumns ? report.refusal.empty() : report.headerUnknown;
    if (ask) {
        jobs::ImportChoice choice(std::move(bytes), format);
        if (dialogs_->ErrorBoxIf(!choice.Refusal().empty(),
                                 QString::fromStdString(choice.Refusal())))
            return;
        if (!dialogs_->ChooseColumns(choice)) return;
        report = choice.Import();
    }
    TakeImport(report);
}

void TForm1::TakeImport(jobs::ImportReport& report) {
    QString said = QString::fromStdString(jobs::ReportText(report));
    // Taken whole or not at all: a refused file leaves the table as it was.
    if (dialogs_->ErrorBoxIf(!report.Imported(), said)) return;
    TableModified = false;
    Memo1.clear();
    // A new list of the file's kind; it has no table file of its own yet.
    ApplyListKind(report.kind);
    StringGrid1->ReplaceKeepingCurrentCell([&](tables::Table& table) {
        tables::WriteTitles(table, report.kind);
        tables::LoadRows(table, std::move(report.rows));
    });
    StringGrid1->history().Fresh();
    if (!report.rememberFailure.empty())
        said += "\n" + texts::ChoiceNotRemembered(QString::fromStdString(report.rememberFailure));
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
    const tables::ListKind kind = ListKindNow();
    const int rows = tables::DataRowCount(Grid());
    QString cause;
    // The filters in their order: CSV in UTF-8, CSV in code page 1251, a workbook.
    const bool written =
        chosen->filter == 2 ? tables::WriteXlsxFile(chosen->path, Grid(), kind, rows, cause)
                            : tables::WriteCsvFile(chosen->path, Grid(), kind, rows,
                                                   chosen->filter == 1 ? tables::CsvEncoding::Cp1251
                                                                       : tables::CsvEncoding::Utf8,
                                                   cause);
    if (!written) dialogs_->ErrorBox(texts::SaveFailed(chosen->path, cause));
}
