// Commands of the scale before the port settings are confirmed, and the busy state's table.

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>

#include "FakePlatform.h"
#include "FormHarness.h"
#include "GridModel.h"
#include "GridView.h"
#include "ScaleWindow.h"

namespace {

const char* const kTopButtons[] = {"StartBtn", "Button12", "Button13", "Button14", "Button15",
                                   "Button16", "Button17", "Button18", "Button19", "Button20"};
const char* const kBusyButtons[] = {"StartBtn", "Button12", "Button13", "Button14", "Button15",
                                    "Button16", "Button17", "Button18", "Button19", "Button20",
                                    "Button21", "Button22", "Button25"};

const QString kLinkCheck = QStringLiteral("Проверьте СОМ-порт или линию связи");

class ReadoutAndDownloadBeforePort : public ::testing::Test {
  protected:
    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    FormHarness h{std::make_unique<FakePlatform>(line)};
};

TEST_F(ReadoutAndDownloadBeforePort, ReadoutAsksForThePortSendsNothingAndEnablesItsButtons) {
    for (const char* command : {"StartBtn", "N12"}) {
        h.dialogs->boxes.clear();
        if (std::string(command) == "N12")
            h.Trigger(command);
        else
            h.Click(command);
        ASSERT_EQ(h.dialogs->boxes.size(), 1u) << command;
        EXPECT_EQ(h.dialogs->boxes[0].kind, BoxKind::Error);
        EXPECT_EQ(h.dialogs->boxes[0].text, QStringLiteral("Установите параметры СОМ-порта"));
        for (const char* name : kTopButtons)
            EXPECT_TRUE(h.Find<QPushButton>(name)->isEnabled()) << command << " " << name;
    }
    EXPECT_TRUE(line->output.empty());
    EXPECT_EQ(h.Find<QLabel>("Summ1")->text(), "0,000");
}

TEST_F(ReadoutAndDownloadBeforePort, DownloadAsksForThePortAndLeavesTheTableAlone) {
    h.form->Button18Click();  // disabled before "OK", but a command all the same
    h.Model().Replace([](tables::Table& t) { t.SetCell(0, 2, "typed"); });
    const tables::Table before = h.form->ForTests().Grid();
    bool labelShown = false;
    h.dialogs->onBox = [&](const ShownBox&) {
        labelShown = !h.Find<QLabel>("Label14")->isHidden() ||
                     !h.Find<QProgressBar>("ProgressBar1")->isHidden();
    };
    for (const char* command : {"N15", "Button21"}) {
        h.dialogs->boxes.clear();
        if (std::string(command) == "N15")
            h.Trigger(command);
        else
            h.form->Button21Click();  // the button is still disabled before "OK"
        ASSERT_EQ(h.dialogs->boxes.size(), 1u) << command;
        EXPECT_EQ(h.dialogs->boxes[0].kind, BoxKind::Error);
        EXPECT_EQ(h.dialogs->boxes[0].text, QStringLiteral("Установите параметры СОМ-порта"));
        EXPECT_FALSE(labelShown);
    }
    for (int r = 0; r < before.RowCount(); ++r)
        EXPECT_EQ(h.form->ForTests().Grid().RowAt(r), before.RowAt(r)) << r;
    EXPECT_TRUE(line->output.empty());
    EXPECT_TRUE(h.Find<QLabel>("Label14")->isHidden());
    EXPECT_TRUE(h.Find<QProgressBar>("ProgressBar1")->isHidden());
}

TEST_F(ReadoutAndDownloadBeforePort, EveryTransferAsksForThePortFirstAndTouchesNothing) {
    h.form->Button18Click();
    h.Model().Replace([](tables::Table& t) { t.SetCell(0, 2, "typed"); });
    // The upload would ask to save an edited table, but only once the port is there.
    h.form->StringGrid1SetEditText(0, 2, QStringLiteral("typed"));
    ASSERT_TRUE(h.form->ForTests().TableModified());
    const tables::Table before = h.form->ForTests().Grid();
    struct Case {
        const char* name;
        void (TForm1::*command)();
    };
    const Case cases[] = {
        {"download", &TForm1::Button21Click},
        {"upload", &TForm1::Button22Click},
        {"compare", &TForm1::CompareClick},
        {"send changes", &TForm1::SendChangesClick},
    };
    for (const Case& c : cases) {
        h.dialogs->boxes.clear();
        (h.form.get()->*c.command)();
        ASSERT_EQ(h.dialogs->boxes.size(), 1u) << c.name;
        EXPECT_EQ(h.dialogs->boxes[0].kind, BoxKind::Error) << c.name;
        EXPECT_EQ(h.dialogs->boxes[0].text, QStringLiteral("Установите параметры СОМ-порта"))
            << c.name;
        for (int r = 0; r < before.RowCount(); ++r)
            EXPECT_EQ(h.form->ForTests().Grid().RowAt(r), before.RowAt(r)) << c.name << " " << r;
        EXPECT_TRUE(h.form->ForTests().TableModified()) << c.name;
        EXPECT_TRUE(h.Find<QPushButton>("Button24")->isHidden()) << c.name;
        EXPECT_TRUE(h.Find<QProgressBar>("ProgressBar1")->isHidden()) << c.name;
    }
    EXPECT_TRUE(line->output.empty());
}

// The busy state in a run that offers no Stop: "Переслать изменения" enters it to check that the
// scale still holds the list loaded before, a scale silent at that check keeps it in view at the
// line's box, and the command's end leaves it. This run never has Stop in view, so the test
// shows it before the command and again at the box, to see that both ButOff and ButOn hide it.
TEST(ReadoutBusyState, ButOffThenButOnFollowsTheTableAndHidesStop) {
    for (bool stopShown : {false, true}) {
        ScaleWindow w;
        w.SetList(tables::ListKind::Plu, {PluRow(1)});
        RunDownload(w);  // what the scale holds is known from now on
        w.h.dialogs->boxes.clear();
        auto* stop = w.h.Find<QPushButton>("Button24");
        auto* label = w.h.Find<QLabel>("Label14");
        stop->setVisible(stopShown);
        label->show();
        w.scale.Inject({sim::Kind::Any, 1, 0, sim::Step::Ready, sim::Action::Silence});
        w.h.dialogs->onBox = [&](const ShownBox&) {
            EXPECT_TRUE(stop->isHidden()) << stopShown;
            for (const char* name : kBusyButtons)
                EXPECT_FALSE(w.h.Find<QPushButton>(name)->isEnabled()) << name;
            EXPECT_FALSE(label->isHidden());
            stop->setVisible(stopShown);
        };
        w.h.Trigger("SendChangesItem");
        ASSERT_EQ(w.BoxTexts(), std::vector<QString>{kLinkCheck}) << stopShown;
        EXPECT_TRUE(stop->isHidden()) << stopShown;
        for (const char* name : kBusyButtons)
            EXPECT_TRUE(w.h.Find<QPushButton>(name)->isEnabled()) << name;
        // Neither touches the transfer label.
        EXPECT_FALSE(label->isHidden());
    }
}

}  // namespace
