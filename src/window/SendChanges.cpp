// "Переслать изменения": only the rows that differ from what the scale is known to hold, once
// the scale has shown that it still holds it.

#include <QPushButton>

#include "ChangesLoad.h"
#include "Com.h"
#include "Download.h"
#include "DownloadView.h"
#include "Texts.h"
#include "TransferOutcome.h"

namespace {

// The load's questions as boxes, and its rows as a download shows them.
class ChangesView : public DownloadView<jobs::ChangesObserver> {
  public:
    ChangesView(RunScreen& screen, std::string device)
        : DownloadView(screen), device_(std::move(device)) {}

    bool SendWholeList(jobs::Distrust why, const std::string& detail) override {
        switch (why) {
            case jobs::Distrust::Unknown:
                return Asked(texts::NothingKnown(QString::fromStdString(device_)));
            case jobs::Distrust::Stale:
                return Asked(texts::KnownStale());
            case jobs::Distrust::NotKeepable:
                s_.ErrorBox(texts::ChangesNotKeepable(QString::fromStdString(detail)));
                return false;
        }
        return false;
    }
    bool TrustUnchecked(int toSend, int rows) override {
        return Asked(texts::MessagesUnchecked(texts::PartOf(toSend, rows)));
    }
    void Checking() override { s_.ButOff(); }
    void Checked(bool lineFailed) override {
        // After a failure the box comes first, as after any exchange that failed.
        if (!lineFailed) s_.ButOn();
    }
    void Sending(int, int) override { s_.StartDownloadView(); }

  private:
    bool Asked(const QString& question) { return s_.Question(question) == Answer::Yes; }
    std::string device_;
};

}  // namespace

void TForm1::SendChangesClick() {
    if (!RequirePort()) return;
    if (dialogs_->ErrorBoxIf(!TableExists, texts::ChooseListKindFirst())) return;
    RunExclusive([this] { SendChangesRun(); });
}

void TForm1::SendChangesRun() {
    const scale::RowKind kind = jobs::RowKindOf(ListKindNow());
    ChangesView view(*this, Comm.DeviceName());
    const jobs::ChangesResult result =
        jobs::LoadChanges(link_, Comm.DeviceName(), Grid(), kind, view);
    KeepKnown(result.knownNote);
    using End = jobs::ChangesResult::End;
    switch (result.end) {
        case End::Sent:
            EndDownloadView(result.report, result.rows, result.skipped);
            return;
        case End::NothingChanged:
            dialogs_->PlainBox(texts::NothingChanged(jobs::DataRows(Grid())));
            return;
        case End::CheckFailed:
            ReportLinkFailure(*FailureOf(*result.report.failure->outcome));
            ButOn();
            return;
        case End::Declined:
            return;
    }
}
