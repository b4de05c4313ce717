#pragma once
// A window whose COM2 is the virtual scale, with the port confirmed, and helpers to fill the
// table and to see the window as it was when a box came up.

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "FormHarness.h"
#include "Table.h"
#include "VirtualScale.h"

// The controls a failure table speaks of, as they stood at one moment.
struct ControlState {
    bool readout = false;   // StartBtn
    bool com = false;       // Button12, which only ButOn enables
    bool download = false;  // Button21
    bool upload = false;    // Button22
    bool stopShown = false;
    bool gridShown = false;
    bool progressShown = false;  // Label14 and ProgressBar1
    bool transferFailed = false;
    bool operator==(const ControlState& o) const;
};
std::ostream& operator<<(std::ostream& out, const ControlState& s);

// Five times the system clock's pace, so a scale that never answers costs 100 ms, not 500.
class FastClock : public scale::Clock {
  public:
    int Millisecond() override;
};

class ScaleWindow {
  public:
    explicit ScaleWindow(bool confirmPort = true);

    FastClock clock;
    FormHarness h{nullptr, &clock};  // before the scale, which links COM2 in its folder
    sim::VirtualScale scale;

    ControlState Controls() const;
    // The controls at each box, in order, from now on.
    std::vector<ControlState> atBox;

    // The table as a list of this kind: titles, these rows (code page 1251) and the marker row.
    void SetList(tables::ListKind kind, const std::vector<tables::Row>& rows) const;
    // The texts of every box shown, in order.
    std::vector<QString> BoxTexts() const;
    // Exchanges the scale has ended, after waiting a little for the last one.
    std::vector<sim::Exchange> Ended(std::size_t expected) const;
    // Every byte the scale has received since it was last cleared, once all the window has
    // sent is in; nothing when that could not be told.
    std::optional<sim::Bytes> SentSoFar() const;
    // True when the window has sent exactly this many bytes so far.
    bool NothingMoreAfter(std::size_t bytes) const;
};

// A good PLU row: number, "Сыр", price 12345, shelf life 5, tare 0, item code 123, group 1,
// message 0 (column layout of the table).
tables::Row PluRow(int plu);
// A message row with its number and eight lines.
tables::Row MsgRow(int number, std::vector<std::string> lines = {});
// Code page 1251 bytes of a text.
std::string Cp(const QString& text);
// Runs the download as the operator does.
void RunDownload(ScaleWindow& w);

// Clicks the readout with the scale holding its reply until the window has given it up (its
// box is shown), whatever the machine's load, then lets the whole reply come: it waits, late,
// in the window's input. Returns how many bytes wait there, once the scale has ended the
// exchange, so that a later ClearReceived forgets it.
int LeaveLateReadout(ScaleWindow& w);
// The readout's record: weight, price and total, four bytes each.
constexpr int kReadoutBytes = 12;

// The progress bar's position as each exchange (of one kind, when given) begins on the scale's
// side; the window is then inside the exchange and leaves the bar alone.
class ProgressLog {
  public:
    explicit ProgressLog(ScaleWindow& w, std::optional<sim::Kind> kind = std::nullopt);
    std::vector<int> Values() const;

  private:
    mutable std::mutex mutex_;
    std::vector<int> values_;
};
