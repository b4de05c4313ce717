#pragma once
// What the transfer benchmarks share: a window linked to a virtual scale, boxes that answer by
// themselves, and the CPU the program spends apart from the scale's own thread.

#include <QString>
#include <memory>
#include <set>
#include <string>

#include "Com.h"
#include "VirtualScale.h"

class SilentDialogs : public Dialogs {
  public:
    void ErrorBox(const QString& text) override { shown += text + '\n'; }
    void PlainBox(const QString& text) override { shown += text + '\n'; }
    void WarningBox(const QString& text) override { shown += text + '\n'; }
    Answer SavePrompt(const QString&) override { return Answer::No; }
    std::optional<QString> OpenFile(const FileDialogRequest&) override { return {}; }
    std::optional<QString> SaveFile(const FileDialogRequest&) override { return {}; }
    QString shown;
};

// A virtual scale on COM2 paced at `baud` (0: unpaced), and a window whose port is confirmed.
class TransferBench {
  public:
    explicit TransferBench(int baud);
    sim::VirtualScale& Scale() { return *scale_; }
    TForm1& Form() { return *form_; }
    const QString& Shown() const { return dialogs_->shown; }
    // Runs the command and measures it.
    template <typename Command>
    void Measure(Command command) {
        Start();
        command();
        Stop();
    }
    double wall = 0;
    double programCpu = 0;

  private:
    std::unique_ptr<sim::VirtualScale> scale_;
    std::set<std::string> scaleThreads_;
    SilentDialogs* dialogs_ = nullptr;
    std::unique_ptr<TForm1> form_;
    double wall0_ = 0;
    double cpu0_ = 0;
    void Start();
    void Stop();
    double ProgramCpu() const;
};

// A fresh configuration folder for the COM link, and the offscreen platform.
void PrepareBenchEnvironment();

// A new PLU list of `rows` rows in the window, as the grid takes a whole table.
void FillPluList(TForm1& form, int rows);
// Line time of `bytes` bytes at `baud`, 10 bits a byte.
inline double LineSeconds(double bytes, int baud) {
    return bytes * 10.0 / baud;
}
