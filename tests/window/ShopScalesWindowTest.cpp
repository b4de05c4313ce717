// The window of the shop's scales with three virtual scales on pseudo-terminals, the third one
// silent: the main window's own port (COM2) used as it is, each scale's progress, the one box that
// names each outcome, Stop, the close question and the main window's refusals during a run.

#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <map>

#include "FormHarness.h"
#include "ScaleWindow.h"
#include "ShopScales.h"
#include "ShopTexts.h"
#include "Texts.h"
#include "WaitFor.h"

namespace {

sim::Options Linked(const char* name, int baud) {
    sim::Options options;
    options.link = name;
    options.baud = baud;
    return options;
}

// Passes events until the condition holds; false after boundMs.
template <typename Holds>
bool Serve(Holds holds, int boundMs) {
    return WaitFor(holds, boundMs, [] {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        return true;
    });
}

// Twice the system clock's pace: a silent scale costs 250 ms, and a scale's thread held up by a
// busy machine still answers within the reply wait.
class TwiceClock : public scale::Clock {
  public:
    int Millisecond() override {
        using namespace std::chrono;
        const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch());
        return static_cast<int>(ms.count() * 2 % 1000);
    }
};

class ShopWindow {
    int baud_;

  public:
    // baud 0: unpaced scales; 9600: each byte paced as on the line.
    explicit ShopWindow(int baud = 0, int rows = 5) : baud_(baud) {
        silent.Inject(
            {sim::Kind::Any, 0, 0, sim::Step::Ready, sim::Action::Silence, 0x15, 0, 0, true});
        h.ConfirmPort(1);
        h.Click("Button18");
        for (int r = 1; r <= rows; ++r) list.push_back(PluRow(r));
        h.Model().Replace([&](tables::Table& t) {
            tables::MakeNewList(t, tables::ListKind::Plu);
            t.SetRowCount(rows + 2);
            for (int r = 0; r < rows; ++r) t.SetRow(r + 1, list[static_cast<std::size_t>(r)]);
            tables::WriteEndMarker(t, t.RowCount() - 1);
        });
        h.form->show();
        h.Trigger("ShopScalesItem");
        shop = h.form->findChild<ShopScalesWindow*>(QStringLiteral("ShopScales"));
    }

    TwiceClock clock;
    // Three paced lines and their loads share a busy machine: a byte late by the test's usual
    // bound is no stall here, and no test of this window needs one.
    FormHarness h{nullptr, &clock, 1000};
    sim::VirtualScale own{Linked("COM2", baud_)};
    sim::VirtualScale other{Linked("COM3", baud_)};
    sim::VirtualScale silent{Linked("COM4", baud_)};
    ShopScalesWindow* shop = nullptr;
    std::vector<tables::Row> list;

    QTableWidget* Table() const {
        return shop->findChild<QTableWidget*>(QStringLiteral("ShopScalesTable"));
    }
    // The listed ports' names and their "opens" words.
    std::map<QString, QString> Listed() const {
        std::map<QString, QString> listed;
        for (int r = 0; r < Table()->rowCount(); ++r)
            listed[Table()->item(r, 0)->text()] = Table()->item(r, 2)->text();
        return listed;
    }
    void CheckAll() const {
        for (int r = 0; r < Table()->rowCount(); ++r)
            Table()->item(r, 0)->setCheckState(Qt::Checked);
    }
    void Press(const char* button) const {
        shop->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    }
    QProgressBar* Bar(const char* port) const {
        return shop->findChild<QProgressBar*>(QStringLiteral("ShopProgress_") +
                                              QString::fromLatin1(port));
    }
    bool Ended(int boundMs = 20000) const {
        return Serve([&] { return !shop->Running(); }, boundMs);
    }
    std::vector<QString> Boxes(BoxKind kind) const { return h.dialogs->Texts(kind); }
    // The PLU numbers a scale holds.
    static std::vector<int> Held(const sim::VirtualScale& scale) {
        std::vector<int> numbers;
        for (const auto& p : scale.Plus()) numbers.push_back(p.plu);
        return numbers;
    }
    std::vector<int> Numbers(int count) const {
        std::vector<int> n;
        for (int i = 1; i <= count; ++i) n.push_back(i);
        return n;
    }
    // The end box: the last plain or warning box.
    QString EndBox() const {
        for (auto it = h.dialogs->boxes.rbegin(); it != h.dialogs->boxes.rend(); ++it)
            if (it->kind == BoxKind::Plain || it->kind == BoxKind::Warning) return it->text;
        return {};
    }
    // The end box's line for a port.
    QString LineOf(const QString& box, const char* port) const {
        for (const QString& line : box.split(QStringLiteral("\r\n")))
            if (line.startsWith(QString::fromLatin1(port) + QStringLiteral(": "))) return line;
        return {};
    }
};

TEST(ShopScalesWindowTest, ListsTheOwnPortAndEachPortThatLeadsToADevice) {
    ShopWindow w;
    ASSERT_NE(w.shop, nullptr);
    EXPECT_TRUE(w.shop->isVisible());
    const auto listed = w.Listed();
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed.at(QStringLiteral("COM2")), texts::OwnPortOpens());
    EXPECT_EQ(listed.at(QStringLiteral("COM3")), texts::PortOpens());
    EXPECT_EQ(listed.at(QStringLiteral("COM4")), texts::PortOpens());
}

// Each task on all three scales: one box naming each outcome, and what each scale holds then.
TEST(ShopScalesWindowTest, EachTaskEndsInOneBoxNamingEachScale) {
    struct Case {
        const char* name;
        const char* button;
        std::deque<Answer> answers;
        int questions;     // boxes asked
        bool sends;        // the answering scales hold the list afterwards
        QString goodLine;  // what the two answering scales' lines hold
    };
    const std::vector<Case> cases = {
        {"whole list", "ShopSendAll", {}, 0, true, texts::DataSent()},
        {"changes, nothing known, yes",
         "ShopSendChanges",
         {Answer::Yes},
         1,
         true,
         texts::DataSent()},
        {"changes, nothing known, no",
         "ShopSendChanges",
         {Answer::No},
         1,
         false,
         QStringLiteral("ничего не передано")},
        {"display", "ShopRead", {}, 0, false, QStringLiteral("вес 1,234, цена 56,78")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShopWindow w;
        w.own.SetDisplay(1234, 5678, 7006);
        w.other.SetDisplay(1234, 5678, 7006);
        w.h.dialogs->promptAnswers = c.answers;
        w.CheckAll();
        w.Press(c.button);
        ASSERT_TRUE(w.Ended());
        const auto questions = w.Boxes(BoxKind::Question);
        ASSERT_EQ(questions.size(), static_cast<std::size_t>(c.questions));
        // One question for all three: each is named in it.
        for (const QString& q : questions)
            for (const char* port : {"COM2", "COM3", "COM4"})
                EXPECT_TRUE(q.contains(QString::fromLatin1(port))) << q.toStdString();
        const QString box = w.EndBox();
        EXPECT_EQ(w.Boxes(BoxKind::Warning).size(), 1u);
        for (const char* port : {"COM2", "COM3"})
            EXPECT_TRUE(w.LineOf(box, port).contains(c.goodLine)) << box.toStdString();
        const QString silentLine = w.LineOf(box, "COM4");
        if (c.answers.empty() || c.answers.front() == Answer::Yes)
            EXPECT_TRUE(silentLine.contains(texts::LinkCheck())) << box.toStdString();
        else
            EXPECT_TRUE(silentLine.contains(c.goodLine)) << box.toStdString();
        const std::vector<int> expected = c.sends ? w.Numbers(5) : std::vector<int>{};
        EXPECT_EQ(ShopWindow::Held(w.own), expected);
        EXPECT_EQ(ShopWindow::Held(w.other), expected);
        EXPECT_TRUE(ShopWindow::Held(w.silent).empty());
        if (c.sends) {
            for (const char* port : {"COM2", "COM3"}) {
                EXPECT_EQ(w.Bar(port)->maximum(), 5) << port;
                EXPECT_EQ(w.Bar(port)->value(), 5) << port;
            }
            EXPECT_EQ(w.Bar("COM4")->value(), 0);
        }
        // The main window's port was used as it is: still open, and it works.
        EXPECT_TRUE(w.h.form->ForTests().Comm().Connected());
    }
}

// Paced scales: each shows its own progress while all go at once, and Stop ends them after
// their current records.
TEST(ShopScalesWindowTest, StopEndsEveryScaleAfterItsCurrentRecord) {
    ShopWindow w(9600, 40);
    w.CheckAll();
    w.Press("ShopSendAll");
    // Both answering scales part way at the same moment.
    ASSERT_TRUE(Serve(
        [&] {
            const int a = w.Bar("COM2")->value();
            const int b = w.Bar("COM3")->value();
            return a >= 2 && b >= 2 && a < 40 && b < 40;
        },
        20000));
    EXPECT_TRUE(w.Bar("COM2")->format().contains(QStringLiteral("из 40")));
    w.Press("ShopStop");
    ASSERT_TRUE(w.Ended());
    const QString box = w.EndBox();
    for (const char* port : {"COM2", "COM3"}) {
        SCOPED_TRACE(port);
        const QString line = w.LineOf(box, port);
        EXPECT_TRUE(line.contains(QStringLiteral("остановлено"))) << line.toStdString();
        // What the bar counted is what the scale holds: nothing half sent.
        const int done = w.Bar(port)->value();
        EXPECT_LT(done, 40);
        const sim::VirtualScale& scale = std::string(port) == "COM2" ? w.own : w.other;
        EXPECT_EQ(ShopWindow::Held(scale), w.Numbers(done));
        EXPECT_TRUE(line.contains(QStringLiteral("Передано строк: %1 из 40").arg(done)))
            << line.toStdString();
    }
}

// Closing either window during a run asks; yes ends the runs after their current records and
// then closes, no lets them go on.
TEST(ShopScalesWindowTest, ClosingDuringARunAsksFirst) {
    struct Case {
        const char* name;
        bool mainWindow;
        Answer answer;
    };
    const std::vector<Case> cases = {
        {"shop window, no", false, Answer::No},
        {"shop window, yes", false, Answer::Yes},
        {"main window, no", true, Answer::No},
        {"main window, yes", true, Answer::Yes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShopWindow w(9600, 12);
        // The close question, then the main window's save prompt: not saved.
        w.h.dialogs->promptAnswers = {c.answer, Answer::No};
        w.CheckAll();
        w.Press("ShopSendAll");
        ASSERT_TRUE(Serve([&] { return w.Bar("COM3")->value() >= 1; }, 20000));
        QWidget* closing = c.mainWindow ? static_cast<QWidget*>(w.h.form.get()) : w.shop;
        closing->close();
        const auto questions = w.Boxes(BoxKind::Question);
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(questions[0], texts::ShopCloseQuestion());
        ASSERT_TRUE(w.Ended());
        const bool yes = c.answer == Answer::Yes;
        EXPECT_EQ(w.LineOf(w.EndBox(), "COM3").contains(QStringLiteral("остановлено")), yes)
            << w.EndBox().toStdString();
        EXPECT_EQ(ShopWindow::Held(w.other).size() == 12u, !yes) << w.EndBox().toStdString();
        Serve([&] { return !closing->isVisible(); }, yes ? 2000 : 100);
        EXPECT_EQ(closing->isVisible(), !yes);
    }
}

// During a run the main window's commands that change the table or the port are refused, each
// saying why, and nothing of the table changes; after it they work again.
TEST(ShopScalesWindowTest, MainWindowRefusesItsCommandsDuringARun) {
    ShopWindow w(9600, 12);
    w.CheckAll();
    w.Press("ShopSendAll");
    ASSERT_TRUE(Serve([&] { return w.Bar("COM3")->value() >= 1; }, 20000));
    const tables::Table before = w.h.form->ForTests().Grid();
    const std::vector<const char*> commands = {"Button18", "Button17", "Button12", "Button19",
                                               "Button21", "Button22", "Opret"};
    const std::vector<const char*> items = {"N14", "PLU1", "N15", "SendChangesItem"};
    std::size_t refused = 0;
    for (const char* name : commands) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(w.h.Find<QPushButton>(name)->isEnabled());
        w.h.Click(name);
        EXPECT_EQ(w.Boxes(BoxKind::Error).size(), ++refused);
        EXPECT_EQ(w.Boxes(BoxKind::Error).back(), texts::ShopRunRefusal());
    }
    for (const char* name : items) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(w.h.Find<QAction>(name)->isEnabled());
        w.h.Trigger(name);
        EXPECT_EQ(w.Boxes(BoxKind::Error).size(), ++refused);
    }
    EXPECT_TRUE(w.shop->Running());
    EXPECT_TRUE(w.h.dialogs->fileDialogs.empty());
    EXPECT_EQ(w.h.form->ForTests().Grid().RowCount(), before.RowCount());
    for (int r = 0; r < before.RowCount(); ++r)
        EXPECT_EQ(w.h.form->ForTests().Grid().RowAt(r), before.RowAt(r));
    ASSERT_TRUE(w.Ended());
    // Afterwards a command is the window's own again: the new list's prompt, not a refusal.
    w.h.dialogs->promptAnswers = {Answer::Cancel};
    w.h.Click("Button18");
    EXPECT_EQ(w.Boxes(BoxKind::Error).size(), refused);
}

}  // namespace

namespace {

// The main window going away during a run ends the loads first: each scale holds a whole start
// of the list, nothing after it, and nothing of the window is used once it is gone.
TEST(ShopScalesWindowTest, AMainWindowDestroyedDuringARunEndsItFirst) {
    ShopWindow w(9600, 40);
    w.CheckAll();
    w.Press("ShopSendAll");
    ASSERT_TRUE(Serve([&] { return w.Bar("COM3")->value() >= 1; }, 20000));
    w.h.form.reset();
    for (const sim::VirtualScale* scale : {&w.own, &w.other}) {
        const std::vector<int> held = ShopWindow::Held(*scale);
        EXPECT_LT(held.size(), 40u);
        EXPECT_EQ(held, w.Numbers(static_cast<int>(held.size())));
    }
}

}  // namespace
