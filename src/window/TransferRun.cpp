// A download or upload as one exclusive run of the window: its busy state, and Stop.

#include <QCoreApplication>
#include <QPushButton>

#include "Com.h"
#include "Texts.h"

namespace {

// Sets a flag for its lifetime and gives back the value it found.
class FlagScope {
  public:
    explicit FlagScope(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = before_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    bool& flag_;
    bool before_;
};

}  // namespace

void TForm1::RunExclusive(const std::function<void()>& run) {
    {
        FlagScope active(runActive_);
        run();
    }
    // A close asked for during the run only stopped it; its check comes now.
    if (closeAfterRun_ && !runActive_) {
        closeAfterRun_ = false;
        close();
    }
}

bool TForm1::RequirePort() {
    return !dialogs_->ErrorBoxIf(!PortOpened, texts::PortNotSet());
}

void TForm1::SetCommandButtonsEnabled(bool enabled) {
    Button24->hide();
    SetTopButtonsEnabled(enabled);
    for (QPushButton* b : {Button21, Button22, Button25}) b->setEnabled(enabled);
}

void TForm1::StartStoppableRun() {
    ButOff();
    TransferFailed = false;
    Button24->show();
    StopRequested = false;
}

bool TForm1::StopPressed() {
    QCoreApplication::processEvents();
    if (!StopRequested) return false;
    Button24->hide();
    return true;
}
