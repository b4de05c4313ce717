// The window grows: the grid takes the room, every other control keeps its place, the form's
// size is the smallest, and the diagnostics panels stand below the grid at any size.

#include <gtest/gtest.h>

#include <QApplication>
#include <algorithm>
#include <map>
#include <string>
#include <utility>

#include "FakePlatform.h"
#include "FormHarness.h"
#include "GridView.h"

namespace {

using Places = std::map<QString, QRect>;

const char* const kPanels[] = {"GroupBox2", "GroupBox3", "GroupBox4", "GroupBox5", "Button9"};

std::string Text(QSize s) {
    return std::to_string(s.width()) + "x" + std::to_string(s.height());
}

std::string Text(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .toStdString();
}

// A shown window with its port confirmed, so the grid is shown too.
struct ShownWindow {
    ShownWindow() {
        h.ConfirmPort();
        h.form->show();
        QApplication::processEvents();
        start = h.form->size();
        grid = Grid();
    }
    QRect Grid() const { return h.Find<GridView>("StringGrid1")->geometry(); }
    QRect InWindow(const QWidget* w) const {
        return {w->mapTo(h.form.get(), QPoint(0, 0)), w->size()};
    }
    // Every control of the form but the grid and its find bar, which grows with it.
    Places Others() const {
        Places places;
        const QWidget* growing[] = {h.Find<GridView>("StringGrid1"), h.Find("FindBar")};
        for (const QWidget* w : h.form->centralWidget()->findChildren<QWidget*>()) {
            const QString name = w->objectName();
            const bool grows =
                std::any_of(std::begin(growing), std::end(growing),
                            [w](const QWidget* g) { return g == w || g->isAncestorOf(w); });
            if (!name.isEmpty() && !name.startsWith("qt_") && !grows) places[name] = InWindow(w);
        }
        return places;
    }
    void ExpectOthersAt(const Places& places) const {
        const Places now = Others();
        EXPECT_EQ(now.size(), places.size());
        for (const auto& [name, place] : places)
            EXPECT_EQ(now.count(name) ? Text(now.at(name)) : "gone", Text(place))
                << name.toStdString();
    }
    void Resize(QSize size) const {
        h.form->resize(size);
        QApplication::processEvents();
    }
    void ToggleDiagnostics() const {
        h.form->ToggleDiagnostics();
        QApplication::processEvents();
    }
    // The panels' extent in the window.
    std::pair<int, int> PanelsTopAndBottom() const {
        int top = h.form->height(), bottom = 0;
        for (const char* name : kPanels) {
            top = std::min(top, InWindow(h.Find(name)).top());
            bottom = std::max(bottom, InWindow(h.Find(name)).bottom());
        }
        return {top, bottom};
    }
    // Each panel inside the window and below the grid, which reaches down to them; gap: from
    // the lowest panel to the window's bottom edge, as in a window of the form's size.
    void ExpectPanelsBelowTheGrid(int gap) const {
        for (const char* name : kPanels) {
            EXPECT_TRUE(h.Find(name)->isVisible()) << name;
            EXPECT_TRUE(h.form->rect().contains(InWindow(h.Find(name)))) << name;
        }
        const auto [top, bottom] = PanelsTopAndBottom();
        EXPECT_EQ(InWindow(h.Find<GridView>("StringGrid1")).bottom() + 1, top);
        EXPECT_EQ(h.form->height() - bottom, gap);
        EXPECT_EQ(Grid().width(), grid.width() + h.form->width() - start.width());
    }

    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    FormHarness h{std::make_unique<FakePlatform>(line)};
    QSize start;
    QRect grid;  // at the start
};

TEST(WindowGrowth, TheGridTakesWhatTheWindowGrowsByAndNothingGoesBelowTheFormsSize) {
    const QSize requests[] = {{240, 0}, {0, 180}, {400, 300}, {1, 1}, {-400, -300}, {-1, 200}};
    for (const QSize request : requests) {
        SCOPED_TRACE(Text(request));
        ShownWindow w;
        const Places others = w.Others();
        w.Resize(w.start + request);
        const QSize growth = w.h.form->size() - w.start;
        EXPECT_EQ(growth, request.expandedTo({0, 0}));
        EXPECT_EQ(w.Grid(), w.grid.adjusted(0, 0, growth.width(), growth.height()));
        w.ExpectOthersAt(others);
    }
}

TEST(WindowGrowth, ThePanelsStandBelowTheGridAtAnySizeAndHideAgainExactly) {
    const struct {
        QSize before;      // growth before the panels are shown
        QSize whileShown;  // asked for while they are shown
    } cases[] = {
        {{0, 0}, {0, 0}},     {{300, 0}, {0, 0}},     {{0, 400}, {0, 0}},
        {{0, 0}, {100, 150}}, {{0, 0}, {-500, -500}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Text(c.before) + " then " + Text(c.whileShown));
        ShownWindow w;
        const Places atStart = w.Others();
        w.ToggleDiagnostics();
        const int gap = w.h.form->height() - w.PanelsTopAndBottom().second;
        w.ToggleDiagnostics();
        w.Resize(w.start + c.before);
        const QSize sizeBefore = w.h.form->size();

        w.ToggleDiagnostics();
        w.ExpectPanelsBelowTheGrid(gap);
        w.Resize(w.h.form->size() + c.whileShown);
        w.ExpectPanelsBelowTheGrid(gap);

        w.ToggleDiagnostics();
        for (const char* name : kPanels) EXPECT_TRUE(w.h.Find(name)->isHidden()) << name;
        w.ExpectOthersAt(atStart);
        EXPECT_EQ(w.h.form->minimumSize(), w.start);
        if (c.whileShown.isNull()) {
            EXPECT_EQ(w.h.form->size(), sizeBefore);
        }
        const QSize growth = w.h.form->size() - w.start;
        EXPECT_EQ(w.Grid(), w.grid.adjusted(0, 0, growth.width(), growth.height()));
    }
}

}  // namespace
