// The download: every data row of the table into the scale, one exchange per row.

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "Codec.h"
#include "Com.h"
#include "DownloadSteps.h"
#include "GridModel.h"
#include "TransferOutcome.h"

namespace {
const char* const kBadCellMark = "???";
}  // namespace

// One run of the driver, from showing the progress to the box at its end.
class DownloadDriver {
  public:
    explicit DownloadDriver(TForm1& form)
        : f_(form), kind_(form.TableIsPlu ? scale::RowKind::Plu : scale::RowKind::Message) {}

    void Run() {
        f_.Label14->show();
        f_.Label14->repaint();
        f_.ProgressBar1->show();
        f_.ProgressBar1->setValue(0);
        f_.ButOff();
        WriteEndMarker();
        f_.TransferFailed = false;
        f_.Button24->show();
        f_.StopRequested = false;
        Finish(SendRows());
    }

  private:
    enum class Ending { Sent, BadRow, LinkFailed };

    void WriteEndMarker() {
        const int last = f_.Grid().RowCount() - 1;
        for (int c = 0; c < tables::kColumns; ++c)
            f_.model_->SetCell(c, last, c == 0 ? tables::kEndMarker : "");
    }

    Ending SendRows() {
        const int rows = f_.Grid().RowCount() - 2;
        for (f_.CurRow = 1; f_.CurRow <= rows; ++f_.CurRow) {
            f_.ProgressBar1->setValue(DownloadProgress(f_.CurRow, rows));
            const scale::RowCheck check = scale::ValidateRow(f_.Grid().RowAt(f_.CurRow), kind_);
            if (!check.ok()) {
                RejectCell(check);
                return Ending::BadRow;
            }
            scale::NewQue(f_.Comm);
            if (kind_ == scale::RowKind::Plu)
                f_.TransmitPlu();
            else
                f_.TransmitMsg();
            QCoreApplication::processEvents();
            // A stop wins over a failure in the same row.
            if (f_.StopRequested) {
                f_.Button24->hide();
                return Ending::Sent;
            }
            if (f_.TransferFailed) return Ending::LinkFailed;
        }
        return Ending::Sent;
    }

    void RejectCell(const scale::RowCheck& check) {
        f_.dialogs_->ErrorBox(RowProblemText(check.problem));
        f_.model_->SetCell(check.column, f_.CurRow, kBadCellMark);
    }

    void Finish(Ending ending) {
        f_.ButOn();
        // The upload button stays off after a message list, whatever ended the run.
        if (kind_ == scale::RowKind::Message) f_.Button22->setEnabled(false);
        if (ending == Ending::Sent) f_.dialogs_->PlainBox(QStringLiteral("Данные переданы"));
        f_.Label14->hide();
        f_.ProgressBar1->hide();
    }

    TForm1& f_;
    const scale::RowKind kind_;
};

void TForm1::Button21Click() {
    // Without an open port nothing is shown, written or sent.
    if (!PortOpened) {
        dialogs_->ErrorBox(messages::PortNotSet());
        return;
    }
    RunExclusive([this] { DownloadDriver(*this).Run(); });
}

void TForm1::TransmitPlu() {
    // The driver has checked the row, so every field fits its place on the wire.
    const scale::RowCheck row = scale::ValidateRow(Grid().RowAt(CurRow), scale::RowKind::Plu);
    scale::Link link = LinkNow();
    if (auto failure = FailureOf(scale::DownloadPlu(link, row.plu))) ReportLinkFailure(*failure);
}

void TForm1::TransmitMsg() {
    const tables::Row& row = Grid().RowAt(CurRow);
    std::array<std::string, 8> lines;
    std::copy(row.begin() + 1, row.end(), lines.begin());
    scale::Link link = LinkNow();
    const auto outcome = scale::DownloadMsg(link, scale::MessageNumberOf(row[0]), lines);
    if (auto failure = FailureOf(outcome)) ReportLinkFailure(*failure);
}
