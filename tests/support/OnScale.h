#pragma once
// A virtual scale linked as COM2 on a pseudo-terminal, in a configuration folder of the test's
// own, and the program's open port and link to it, as the jobs tests drive the scale.

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "Link.h"
#include "MyCom.h"
#include "Table.h"
#include "TempConfig.h"
#include "VirtualScale.h"

struct OnScale {
    OnScale() {
        comm.Port = COM2;
        comm.Connect();
    }
    static sim::Options LinkedAsCom2() {
        sim::Options options;
        options.link = "COM2";
        return options;
    }
    TempConfig config;  // before the scale: its link goes into this folder
    sim::VirtualScale scale{LinkedAsCom2()};
    TComm comm;
    // A short bound, so a stall inside a record shows at once; long enough that a scale thread
    // held up by a loaded machine is not taken for a stall.
    scale::Link link{comm, scale::SystemClock(), 300};
};

// A list of the rows, the end marker after them.
inline tables::Table ListOf(const std::vector<tables::Row>& rows) {
    tables::Table table;
    table.SetRowCount(static_cast<int>(rows.size()) + 2);
    for (std::size_t r = 0; r < rows.size(); ++r) table.SetRow(static_cast<int>(r) + 1, rows[r]);
    tables::WriteEndMarker(table, table.RowCount() - 1);
    return table;
}

// The PLU records the scale took whole. It ends its exchange a moment after the program has its
// answer, so this waits until it listens again.
inline int RecordsSent(const sim::VirtualScale& scale) {
    EXPECT_TRUE(scale.WaitListening(std::chrono::seconds(3)));
    int sent = 0;
    for (const sim::Exchange& e : scale.Exchanges())
        sent += e.kind == sim::Kind::PluDownload && e.complete;
    return sent;
}
