#pragma once
// Where a paced exchange loses its time: the PC's turnaround at each step, as the virtual scale
// measures it, beside the same figure for a bare peer on the same kind of line, which answers at
// once and so shows what the machine alone costs. The program's part is the difference.

#include <chrono>
#include <string>
#include <vector>

#include "VirtualScale.h"

struct TurnaroundFigures {
    double medianMs = 0;
    double p99Ms = 0;
    std::size_t count = 0;
};

TurnaroundFigures FiguresOf(std::vector<std::chrono::steady_clock::duration> turnarounds);

// A peer that sends each byte the moment the scale's answer came, `exchanges` times, on a scale
// paced at baud.
TurnaroundFigures BarePeerTurnarounds(int baud, int exchanges = 300);

// "turnaround median 0.31 ms, 99th percentile 0.52 ms (a bare peer: 0.12 / 0.20 ms)".
std::string TurnaroundText(const TurnaroundFigures& program, const TurnaroundFigures& bare);
