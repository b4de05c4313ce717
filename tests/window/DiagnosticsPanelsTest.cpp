// The line-test panels on the scripted line: their controls, how they are shown, the guard of the
// unconfigured port, the escape codes and the event-mask rules.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QShortcut>

#include "FakePlatform.h"
#include "FormHarness.h"

namespace {

const char* const kPanels[] = {"GroupBox2", "GroupBox3", "GroupBox4", "GroupBox5", "Button9"};
const char* const kPanelButtons[] = {"BSend",   "BHent",    "Button1", "Button2", "Button3",
                                     "Button4", "Button5",  "Button6", "Button7", "Button8",
                                     "Button9", "Button10", "Button11"};

QString CaptionOf(const QWidget* w) {
    if (auto* group = qobject_cast<const QGroupBox*>(w)) return group->title();
    if (auto* button = qobject_cast<const QPushButton*>(w)) return button->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(w)) return edit->text();
    if (auto* memo = qobject_cast<const QPlainTextEdit*>(w)) return memo->toPlainText();
    if (auto* list = qobject_cast<const QComboBox*>(w)) return list->currentText();
    if (auto* box = qobject_cast<const QListWidget*>(w)) return QString::number(box->count());
    return {};
}

TEST(DiagnosticsLayout, EveryControlInItsPanelAtItsPlaceWithItsCaption) {
    FormHarness h;
    struct Control {
        const char* name;
        const char* parent;  // nullptr: the window's own area
        QString caption;
        QRect place;
    };
    const Control controls[] = {{"GroupBox2", nullptr, "Messages", {4, 448, 267, 178}},
                                {"Edit1", "GroupBox2", "", {20, 25, 208, 24}},
                                {"BeskedBox", "GroupBox2", "", {20, 59, 227, 100}},
                                {"BSend", "GroupBox2", "Send message", {18, 164, 93, 24}},
                                {"BHent", "GroupBox2", "Get message", {156, 164, 93, 24}},
                                {"GroupBox3", nullptr, "EscCodes", {554, 491, 208, 127}},
                                {"Button1", "GroupBox3", "SET DTR", {9, 18, 71, 23}},
                                {"Button2", "GroupBox3", "SET RTS", {9, 48, 71, 22}},
                                {"Button3", "GroupBox3", "CLR DTR", {127, 18, 71, 23}},
                                {"Button4", "GroupBox3", "CLR RTS", {127, 48, 71, 22}},
                                {"Button5", "GroupBox3", "SET XON", {9, 78, 71, 22}},
                                {"Button6", "GroupBox3", "SET XOFF", {127, 78, 71, 22}},
                                {"GroupBox4", nullptr, "CommEvent", {404, 560, 267, 61}},
                                {"ComboBox1", "GroupBox4", "EV_CTS", {5, 18, 144, 24}},
                                {"Button8", "GroupBox4", "Get", {156, 18, 42, 23}},
                                {"Button7", "GroupBox4", "Set", {206, 18, 41, 23}},
                                {"Button9", nullptr, "Save Buffer as file", {273, 572, 126, 21}},
                                {"GroupBox5", nullptr, "Get/Send byte", {276, 482, 267, 80}},
                                {"EByte", "GroupBox5", "5", {10, 23, 90, 24}},
                                {"Bytebox", "GroupBox5", "0", {108, 20, 149, 50}},
                                {"Button11", "GroupBox5", "Get", {9, 59, 51, 16}},
                                {"Button10", "GroupBox5", "Send", {58, 59, 52, 16}}};
    for (const Control& c : controls) {
        const QWidget* w = h.Find(c.name);
        ASSERT_NE(w, nullptr) << c.name;
        const QWidget* parent = c.parent ? h.Find(c.parent) : h.form->centralWidget();
        EXPECT_EQ(w->parentWidget(), parent) << c.name;
        EXPECT_EQ(CaptionOf(w), c.caption) << c.name;
        EXPECT_EQ(w->geometry(), c.place) << c.name;
    }
    QStringList items;
    for (int i = 0; i < h.Find<QComboBox>("ComboBox1")->count(); ++i)
        items << h.Find<QComboBox>("ComboBox1")->itemText(i);
    EXPECT_EQ(items, QStringList({"EV_CTS", "EV_DSR", "EV_ERR", "EV_RING", "EV_RLSD"}));
    EXPECT_TRUE(h.Find<QComboBox>("ComboBox1")->isEditable());
}

QShortcut* DiagnosticsKey(const FormHarness& h) {
    for (QShortcut* s : h.form->findChildren<QShortcut*>())
        if (s->key() == QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)) return s;
    return nullptr;
}

TEST(DiagnosticsKey, HiddenUntilCtrlShiftDThenShownWithinTheGrownWindowAndHiddenAgain) {
    FormHarness h;
    h.form->show();
    QApplication::processEvents();
    h.ConfirmPort();
    h.Click("Button12");
    h.ConfirmPort();
    for (const char* panel : kPanels) EXPECT_TRUE(h.Find(panel)->isHidden()) << panel;

    QShortcut* key = DiagnosticsKey(h);
    ASSERT_NE(key, nullptr);
    const QSize before = h.form->size();
    emit key->activated();
    QApplication::processEvents();
    for (const char* panel : kPanels) {
        const QWidget* w = h.Find(panel);
        EXPECT_TRUE(w->isVisible()) << panel;
        const QPoint bottomRight = w->mapTo(h.form.get(), QPoint(w->width(), w->height()));
        EXPECT_LE(bottomRight.y(), h.form->height()) << panel;
        EXPECT_LE(bottomRight.x(), h.form->width()) << panel;
    }
    EXPECT_GT(h.form->height(), before.height());

    emit key->activated();
    QApplication::processEvents();
    for (const char* panel : kPanels) EXPECT_TRUE(h.Find(panel)->isHidden()) << panel;
    EXPECT_EQ(h.form->size(), before);
}

class DiagnosticsOnFake : public ::testing::Test {
  protected:
    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    FormHarness h{std::make_unique<FakePlatform>(line)};
    QComboBox* events() const { return h.Find<QComboBox>("ComboBox1"); }
};

TEST_F(DiagnosticsOnFake, NothingHappensBeforeThePortIsConfiguredButGetStillEmptiesTheText) {
    // The line answers the port's calls though the window opened nothing, so only the panels'
    // own guard stands between a click and the line.
    line->answersUnopened = true;
    line->input = {1, 2, 3};
    line->eventMask = 0x0098;
    h.Find<QLineEdit>("Edit1")->setText("abc");
    h.Find<QLineEdit>("EByte")->setText("not a number");
    h.dialogs->fileAnswers.push_back(QString("/tmp/never-written"));
    events()->setEditText("EV_RING");
    for (const char* name : kPanelButtons) {
        if (std::string(name) != "Button8") h.Click(name);
    }
    EXPECT_EQ(events()->currentText(), "EV_RING");
    h.Click("Button8");
    EXPECT_EQ(events()->currentText(), "");

    EXPECT_TRUE(line->output.empty());
    EXPECT_TRUE(line->escapeCodes.empty());
    EXPECT_EQ(line->eventMask, 0x0098u);
    EXPECT_EQ(line->input.size(), 3u);
    EXPECT_TRUE(h.dialogs->boxes.empty());
    EXPECT_TRUE(h.dialogs->fileDialogs.empty());
    EXPECT_TRUE(h.Find<QPlainTextEdit>("BeskedBox")->toPlainText().isEmpty());
    EXPECT_EQ(h.Find<QListWidget>("Bytebox")->count(), 0);
}

TEST_F(DiagnosticsOnFake, EscapeButtonsSendTheirCodes) {
    h.ConfirmPort();
    for (const char* name : {"Button1", "Button2", "Button3", "Button4", "Button5", "Button6"})
        h.Click(name);
    EXPECT_EQ(line->escapeCodes, (std::vector<std::int32_t>{5, 3, 6, 4, 2, 1}));
}

TEST_F(DiagnosticsOnFake, SetMakesTheChosenEventTheWholeMask) {
    h.ConfirmPort();
    const std::uint32_t bits[] = {0x0008, 0x0010, 0x0080, 0x0100, 0x0020};
    for (int i = 0; i < 5; ++i) {
        line->eventMask = 0xFFFF;
        events()->setCurrentIndex(i);
        h.Click("Button7");
        EXPECT_EQ(line->eventMask, bits[i]) << i;
    }
}

TEST_F(DiagnosticsOnFake, GetShowsTheMaskByNamesAndSetThenChangesNothing) {
    h.ConfirmPort();
    events()->setEditText("EV_RING");
    h.Click("Button7");
    EXPECT_EQ(line->eventMask, 0x0100u);
    h.Click("Button8");
    EXPECT_EQ(events()->currentText(), "[EV_RING]");

    line->eventMask = 0x0098;
    h.Click("Button8");
    EXPECT_EQ(events()->currentText(), "[EV_CTS][EV_DSR][EV_ERR]");
    h.Click("Button7");
    EXPECT_EQ(line->eventMask, 0x0098u);

    for (const char* typed : {"ev_ring", "EV_RING ", ""}) {
        events()->setEditText(typed);
        h.Click("Button7");
        EXPECT_EQ(line->eventMask, 0x0098u) << '"' << typed << '"';
    }
}

}  // namespace
