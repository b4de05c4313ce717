// Three paced scales loaded at once from the window of the shop's scales: the main window's own
// port and two more.
// Targets: 200 PLU rows each at 9600 baud, the wall time at most 1.05 times one scale's line time
// (81 bytes a row), and the window's event loop never held longer than 50 ms meanwhile, measured
// as the lateness of a 10 ms timer.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "ShopScales.h"
#include "TransferBench.h"

namespace {

constexpr int kScales = 3;
constexpr int kRows = 200;
constexpr int kBaud = 9600;
constexpr int kTickMs = 10;

}  // namespace

int main(int argc, char** argv) {
    PrepareBenchEnvironment();
    // A machine of the bench's own: no port of this one is listed or tried.
    setenv("QVSCALE_DEV_ROOT", getenv("XDG_CONFIG_HOME"), 1);
    QApplication app(argc, argv);
    std::vector<std::unique_ptr<sim::VirtualScale>> scales;
    for (int i = 0; i < kScales; ++i) {
        sim::Options options;
        options.link = "COM" + std::to_string(i + 2);
        options.baud = kBaud;
        scales.push_back(std::make_unique<sim::VirtualScale>(options));
    }
    auto dialogs = std::make_unique<SilentDialogs>();
    SilentDialogs* shown = dialogs.get();
    TForm1 form(std::move(dialogs));
    form.findChild<QComboBox*>(QStringLiteral("CBPort"))->setCurrentIndex(1);
    form.OpretClick();
    FillPluList(form, kRows);
    form.findChild<QAction*>(QStringLiteral("ShopScalesItem"))->trigger();
    auto* shop = form.findChild<ShopScalesWindow*>(QStringLiteral("ShopScales"));
    auto* table = shop->findChild<QTableWidget*>(QStringLiteral("ShopScalesTable"));
    for (int r = 0; r < table->rowCount(); ++r) table->item(r, 0)->setCheckState(Qt::Checked);

    QElapsedTimer wall;
    QElapsedTimer sinceTick;
    qint64 worstLateMs = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        worstLateMs = std::max(worstLateMs, sinceTick.elapsed() - kTickMs);
        sinceTick.restart();
        if (!shop->Running()) app.quit();
    });
    wall.start();
    shop->findChild<QPushButton*>(QStringLiteral("ShopSendAll"))->click();
    sinceTick.start();
    tick.start(kTickMs);
    app.exec();
    const double seconds = static_cast<double>(wall.elapsed()) / 1000.0;

    bool all = table->rowCount() == kScales;
    for (const auto& scale : scales) all = all && scale->Plus().size() == kRows;
    const double lineTime = LineSeconds(kRows * 81.0, kBaud);
    const double ratio = seconds / lineTime;
    std::printf(
        "%d scales at once from the window, %d PLU rows each at %d baud: %.2f s for %.2f s of one "
        "scale's line time (%.3f times, target at most 1.05); the event loop held at most %lld ms "
        "(target at most 50)\n",
        kScales, kRows, kBaud, seconds, lineTime, ratio, static_cast<long long>(worstLateMs));
    if (!all) {
        std::fprintf(stderr, "not every scale got every row:\n%s\n",
                     shown->shown.toStdString().c_str());
        return 2;
    }
    return ratio <= 1.05 && worstLateMs <= 50 ? 0 : 1;
}
