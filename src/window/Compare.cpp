// Comparing the PLU list with the scale's, and the highlights it leaves in the grid.

#include "Compare.h"

#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "CodePage1251.h"
#include "Com.h"
#include "Download.h"
#include "DownloadSteps.h"
#include "DownloadView.h"
#include "GridModel.h"
#include "Runs.h"
#include "Texts.h"

namespace {

// The growing count on the progress bar; failures and Stop as in a download.
class CompareView : public DownloadView<> {
  public:
    using DownloadView::DownloadView;
    void RowStarting(int, int) override {}
    void RowDone(int request, const tables::Row&) override { s_.ShowProgress(request); }
};

}  // namespace

void TForm1::CompareClick() {
    if (!RequirePort()) return;
    if (dialogs_->ErrorBoxIf(!TableExists, texts::NoPluListToCompare())) return;
    if (dialogs_->ErrorBoxIf(!TableIsPlu, texts::ComparePluOnly())) return;
    RunExclusive([this] { CompareRun(); });
}

void TForm1::CompareRun() {
    // A row the download would refuse holds no record to compare.
    for (int r = 1; r <= jobs::DataRows(Grid()); ++r) {
        const scale::RowCheck check = scale::ValidateRow(Grid().RowAt(r), scale::RowKind::Plu);
        if (!check.ok()) {
            dialogs_->ErrorBox(texts::CompareBadRow(RowProblemText(check.problem), r));
            return;
        }
    }
    model_->SetMarks({});
    StartStoppableRun();
    ProgressBar1->setRange(0, std::max(jobs::DataRows(Grid()), 1));
    ProgressBar1->setValue(0);
    ProgressBar1->setFormat(texts::CompareProgress());
    ProgressBar1->show();
    CompareView view(*this);
    const jobs::KeptCompare kept =
        jobs::CompareKeepingKnown(link_, Comm.DeviceName(), Grid(), view);
    KeepKnown(kept.knownNote);
    // The download finds the bar as it always has.
    ProgressBar1->hide();
    ProgressBar1->setFormat(QStringLiteral("%p%"));
    ProgressBar1->setRange(0, 100);
    ButOn();
    if (kept.compared.comparison) ShowComparison(*kept.compared.comparison);
}

void TForm1::ShowComparison(const jobs::Comparison& comparison) {
    GridModel::Marks marks;
    for (const jobs::ListedRecord& record : comparison.differing) {
        for (const jobs::FieldDifference& field : record.fields)
            marks[{record.row, field.column}] = {
                texts::ScaleValue(tables::DecodeCp1251(field.scale)), false};
    }
    for (const jobs::ListedRecord& record : comparison.missing) {
        for (int c = 0; c < tables::kColumns; ++c)
            marks[{record.row, c}] = {texts::MissingInScale(), true};
    }
    model_->SetMarks(std::move(marks));
    QStringList onlyInScale;
    for (const tables::Row& record : comparison.onlyInScale)
        onlyInScale << QString::fromStdString(record[tables::Column::Plu]);
    dialogs_->PlainBox(
        texts::CompareSummary(comparison.equal, static_cast<int>(comparison.differing.size()),
                              static_cast<int>(comparison.missing.size()), onlyInScale));
}
