#pragma once
// A window whose COM2 is the virtual scale, with the port confirmed, and helpers to fill the
// table and to see the window as it was when a box came up.

#include <gtest/gtest.h>

#include <chrono>
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

class ScaleWindow {
  public:
    explicit ScaleWindow(bool confirmPort = true);

    FormHarness h;  // first: the scale links COM2 in the harness's configuration folder
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
    // True when the scale got nothing more within a short while: the program sent no more.
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

template <typename Clock = std::chrono::steady_clock>
double SecondsSince(typename Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}
