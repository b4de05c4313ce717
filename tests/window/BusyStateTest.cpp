// The controls as the operator sees them while a transfer serves events between rows.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include "EventHooks.h"
#include "ScaleWindow.h"
#include "WaitFor.h"

namespace {

struct Pass {
    int passes = 0;
    std::vector<std::string> faults;
};

// Every command button must be disabled and Stop shown whenever the run serves events between
// two records; a pass after the run has ended (the end of the scale's list) is not one of them.
void Check(const FormHarness& h, Pass& pass) {
    if (!h.form->ForTests().RunActive() || h.form->ForTests().TransferFailed()) return;
    ++pass.passes;
    for (const char* name :
         {"StartBtn", "Button12", "Button13", "Button14", "Button15", "Button16", "Button17",
          "Button18", "Button19", "Button20", "Button21", "Button22", "Button25"}) {
        if (h.Find<QPushButton>(name)->isEnabled())
            pass.faults.push_back(std::string(name) + " enabled in pass " +
                                  std::to_string(pass.passes));
    }
    if (h.Find<QPushButton>("Button24")->isHidden())
        pass.faults.push_back("Stop hidden in pass " + std::to_string(pass.passes));
}

TEST(BusyState, EveryCommandButtonIsDisabledInEachEventPass) {
    struct Case {
        const char* name;
        tables::ListKind kind;
        const char* button;
    };
    const Case cases[] = {
        {"PLU upload", tables::ListKind::Plu, "Button22"},
        {"PLU download", tables::ListKind::Plu, "Button21"},
        {"message download", tables::ListKind::Msg, "Button21"},
    };
    for (const Case& c : cases) {
        ScaleWindow w;
        for (std::uint16_t plu = 1; plu <= 3; ++plu) {
            sim::PluRecord r;
            r.plu = plu;
            w.scale.PutPlu(r);
        }
        w.SetList(c.kind, c.kind == tables::ListKind::Plu
                              ? std::vector<tables::Row>{PluRow(1), PluRow(2), PluRow(3)}
                              : std::vector<tables::Row>{MsgRow(1), MsgRow(2), MsgRow(3)});
        Pass pass;
        QTimer everyPass;
        QObject::connect(&everyPass, &QTimer::timeout, [&] { Check(w.h, pass); });
        everyPass.start(0);
        w.h.Click(c.button);
        EXPECT_GE(pass.passes, 3) << c.name;
        EXPECT_EQ(pass.faults, std::vector<std::string>{}) << c.name;
    }
}

// The grid shows each record as it comes: every event pass of an upload paints the grid.
TEST(BusyState, EachPassOfAnUploadPaintsTheNewRecord) {
    ScaleWindow w;
    for (std::uint16_t plu = 1; plu <= 3; ++plu) {
        sim::PluRecord r;
        r.plu = plu;
        w.scale.PutPlu(r);
    }
    w.h.form->show();
    w.h.Click("Button18");
    // Nothing paints before the window system has shown the window.
    WaitFor([&] { return w.h.form->windowHandle()->isExposed(); }, 2000,
            [] {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
                return true;
            });
    ASSERT_TRUE(w.h.form->windowHandle()->isExposed());
    QWidget* grid = w.h.Find<QWidget>("StringGrid1");
    int paints = 0;
    EventHook countPaints(grid->findChild<QWidget*>("qt_scrollarea_viewport"), QEvent::Paint,
                          [&] { ++paints; });
    std::vector<int> paintsByPass;
    QTimer everyPass;
    QObject::connect(&everyPass, &QTimer::timeout, [&] {
        if (!w.h.form->ForTests().RunActive()) return;
        paintsByPass.push_back(paints);
        paints = 0;
    });
    everyPass.start(0);
    w.h.Click("Button22");
    ASSERT_GE(paintsByPass.size(), 3u);
    for (std::size_t pass = 0; pass < paintsByPass.size(); ++pass)
        EXPECT_GT(paintsByPass[pass], 0) << "pass " << pass;
}

}  // namespace
