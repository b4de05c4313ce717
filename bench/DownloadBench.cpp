// The PLU download through the window against the virtual scale.
// Targets: paced at 9600 baud, at most 1.03 times the line time of the row bytes (81 bytes a
// row) and under 5% of one core for the program (the process's CPU less the scale's own
// thread); unpaced, at least 2,000 rows a second.

#include <QApplication>
#include <cstdio>

#include "TransferBench.h"
#include "Turnarounds.h"

namespace {

// Downloads `rows` rows; false when the scale did not get them all.
bool Download(TransferBench& bench, int rows) {
    FillPluList(bench.Form(), rows);
    bench.Measure([&] { bench.Form().Button21Click(); });
    return static_cast<int>(bench.Scale().Plus().size()) == rows &&
           bench.Shown() == QStringLiteral("Данные переданы\n");
}

}  // namespace

int main(int argc, char** argv) {
    PrepareBenchEnvironment();
    QApplication app(argc, argv);

    constexpr int kPacedRows = 200;
    constexpr int kBaud = 9600;
    bool pacedOk = false;
    double ratio = 0;
    double share = 0;
    {
        TransferBench paced(kBaud);
        pacedOk = Download(paced, kPacedRows);
        const double lineTime = LineSeconds(kPacedRows * 81.0, kBaud);
        ratio = paced.wall / lineTime;
        share = 100.0 * paced.programCpu / paced.wall;
        std::printf(
            "paced download, %d PLU rows at %d baud: %.2f s for %.2f s of line time "
            "(%.3f times, target at most 1.03); program CPU %.3f s, %.2f%% of one core "
            "(target under 5%%)\n",
            kPacedRows, kBaud, paced.wall, lineTime, ratio, paced.programCpu, share);
        std::printf("%s\n", TurnaroundText(FiguresOf(paced.Scale().Turnarounds()),
                                           BarePeerTurnarounds(kBaud))
                                .c_str());
    }
    // Its own scale: the paced one has given up COM2 by now.
    constexpr int kFastRows = 4000;
    TransferBench fast(0);
    const bool fastOk = Download(fast, kFastRows);
    const double rate = kFastRows / fast.wall;
    std::printf(
        "unpaced download, %d PLU rows: %.2f s, %.0f rows a second (target at least "
        "2000); program CPU %.2f s\n",
        kFastRows, fast.wall, rate, fast.programCpu);

    if (!pacedOk || !fastOk) {
        std::fprintf(stderr, "the scale did not get every row\n");
        return 2;
    }
    return ratio <= 1.03 && share < 5.0 && rate >= 2000 ? 0 : 1;
}
