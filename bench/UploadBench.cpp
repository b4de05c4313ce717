// The PLU upload through the window against the virtual scale.
// Targets: paced at 9600 baud, at most 1.03 times the line time of its bytes (83 bytes a PLU:
// 4 from the PC, 79 from the scale; the closing request that finds the end costs 8) and under
// 2% of one core for the program.

#include <QApplication>
#include <cstdio>

#include "TransferBench.h"
#include "Turnarounds.h"

namespace {

void Store(sim::VirtualScale& scale, int count) {
    for (int n = 1; n <= count; ++n) {
        sim::PluRecord r;
        r.plu = static_cast<std::uint16_t>(n);
        r.itemCode = 1000 + n;
        r.name1.fill(0x20);
        r.name1[12] = 0x91;
        r.name1[13] = 0xEB;
        r.name1[14] = 0xE0;
        r.name2.fill(0x20);
        r.price = 12345;
        r.shelfLife = 5;
        scale.PutPlu(r);
    }
}

}  // namespace

int main(int argc, char** argv) {
    PrepareBenchEnvironment();
    QApplication app(argc, argv);

    constexpr int kPlus = 200;
    constexpr int kBaud = 9600;
    TransferBench bench(kBaud);
    Store(bench.Scale(), kPlus);
    bench.Form().Button18Click();
    bench.Measure([&] { bench.Form().Button22Click(); });
    const bool all = bench.Form().ForTests().Grid().RowCount() == kPlus + 2 &&
                     bench.Shown() == QStringLiteral("Данные приняты\n");

    const double lineTime = LineSeconds(kPlus * 83.0 + 8.0, kBaud);
    const double ratio = bench.wall / lineTime;
    const double share = 100.0 * bench.programCpu / bench.wall;
    std::printf(
        "paced upload, %d PLUs at %d baud: %.2f s for %.2f s of line time (%.3f times, "
        "target at most 1.03); program CPU %.3f s, %.2f%% of one core (target under 2%%)\n",
        kPlus, kBaud, bench.wall, lineTime, ratio, bench.programCpu, share);
    std::printf(
        "%s\n",
        TurnaroundText(FiguresOf(bench.Scale().Turnarounds()), BarePeerTurnarounds(kBaud)).c_str());
    if (!all) {
        std::fprintf(stderr, "the table did not get every PLU\n");
        return 2;
    }
    return ratio <= 1.03 && share < 2.0 ? 0 : 1;
}
