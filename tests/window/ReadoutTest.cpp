// The display readout against the virtual scale.

#include <gtest/gtest.h>

#include <QLabel>

#include "ScaleWindow.h"
#include "WaitFor.h"

namespace {

struct Labels {
    QString weight, price, total;
    bool operator==(const Labels& o) const {
        return weight == o.weight && price == o.price && total == o.total;
    }
};
std::ostream& operator<<(std::ostream& out, const Labels& l) {
    return out << l.weight.toStdString() << " " << l.price.toStdString() << " "
               << l.total.toStdString();
}

Labels Shown(const ScaleWindow& w) {
    return {w.h.Find<QLabel>("Summ1")->text(), w.h.Find<QLabel>("Last1")->text(),
            w.h.Find<QLabel>("Summ2")->text()};
}

const Labels kZero{"0,000", "0,00", "0,00"};
const QString kLinkCheck = QStringLiteral("Проверьте СОМ-порт или линию связи");
const char* const kTopButtons[] = {"StartBtn", "Button12", "Button13", "Button14", "Button15",
                                   "Button16", "Button17", "Button18", "Button19", "Button20"};

void ExpectTopButtonsEnabled(const ScaleWindow& w) {
    for (const char* name : kTopButtons)
        EXPECT_TRUE(w.h.Find<QPushButton>(name)->isEnabled()) << name;
}

TEST(ReadoutOnTheLine, ShowsTheScalesValuesAndSendsOnlyTheRequestAndCommand) {
    const struct {
        sim::Display display;
        Labels shown;
    } cases[] = {
        {{1234, 5, 123456}, {"1,234", "0,05", "1234,56"}},
        {{0, 0, 0}, kZero},
        {{123456, 1234567, 1234567}, {"123456", "1234567", "12345,67"}},
        {{-1234, -5, -123456}, {"-1,234", "-0,05", "-1234,56"}},
    };
    ScaleWindow w;
    for (const auto& c : cases) {
        w.scale.ClearReceived();
        w.scale.SetDisplay(c.display.weight, c.display.price, c.display.total);
        w.h.Click("StartBtn");
        EXPECT_EQ(Shown(w), c.shown);
        EXPECT_TRUE(w.h.dialogs->boxes.empty());
        EXPECT_EQ(w.SentSoFar(), (sim::Bytes{0xA5, 0x06}));
        ExpectTopButtonsEnabled(w);
    }
}

TEST(ReadoutOnTheLine, MenuItemReadsToo) {
    ScaleWindow w;
    w.scale.SetDisplay(12, 12, 12);
    w.h.Trigger("N12");
    EXPECT_EQ(Shown(w), (Labels{"0,012", "0,12", "0,12"}));
}

// Each failure: the box, the labels when it came up and afterwards, and what the PC sent.
TEST(ReadoutOnTheLine, FailuresShowTheMessageAndTheZeroReading) {
    const Labels earlier{"1,234", "0,05", "1234,56"};
    struct Case {
        const char* name;
        sim::Fault fault;
        Labels atBox;
        sim::Bytes sent;
    };
    sim::Fault refusal;
    refusal.action = sim::Action::Byte;
    refusal.byte = 0x15;
    sim::Fault silence;  // no answer to 0xA5
    sim::Fault stall;
    stall.kind = sim::Kind::Readout;
    stall.step = sim::Step::Record;
    stall.action = sim::Action::Stall;
    stall.afterBytes = 5;
    const Case cases[] = {
        {"refused", refusal, earlier, {0xA5}},
        {"no answer", silence, kZero, {0xA5}},
        {"stalled after five value bytes", stall, kZero, {0xA5, 0x06}},
    };
    for (const Case& c : cases) {
        ScaleWindow w;
        w.scale.SetDisplay(1234, 5, 123456);
        w.h.Click("StartBtn");
        ASSERT_EQ(Shown(w), earlier) << c.name;
        w.scale.ClearReceived();
        w.scale.Inject(c.fault);
        Labels atBox;
        w.h.dialogs->onBox = [&](const ShownBox&) { atBox = Shown(w); };
        w.h.Click("StartBtn");
        ASSERT_EQ(w.h.dialogs->boxes.size(), 1u) << c.name;
        EXPECT_EQ(w.h.dialogs->boxes[0].kind, BoxKind::Error) << c.name;
        EXPECT_EQ(w.h.dialogs->boxes[0].text, kLinkCheck) << c.name;
        EXPECT_EQ(atBox, c.atBox) << c.name;
        EXPECT_EQ(Shown(w), kZero) << c.name;
        EXPECT_EQ(w.SentSoFar(), c.sent) << c.name;
        ExpectTopButtonsEnabled(w);
    }
}

// A reply that arrives after the readout gave up waits in the input; the next readout must not
// take it for its own.
TEST(ReadoutOnTheLine, StaleBytesAreNeverTakenForTheReply) {
    ScaleWindow w;
    w.scale.SetDisplay(0x77777777, 0x77777777, 0x77777777);
    ASSERT_EQ(LeaveLateReadout(w), kReadoutBytes);
    ASSERT_EQ(w.BoxTexts(), std::vector<QString>{kLinkCheck});
    w.scale.SetDisplay(1234, 5, 123456);
    w.h.Click("StartBtn");
    EXPECT_EQ(w.h.dialogs->boxes.size(), 1u);
    EXPECT_EQ(Shown(w), (Labels{"1,234", "0,05", "1234,56"}));
}

}  // namespace
