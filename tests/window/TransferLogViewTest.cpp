// Every transfer and readout of the window leaves its line in the transfer log, which the
// service menu shows and copies.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <fstream>

#include "ScaleWindow.h"
#include "TransferLogView.h"

namespace {

QString ShownLog(ScaleWindow& w, QString* failure = nullptr) {
    w.h.Trigger("TransferLogItem");
    auto* view = w.h.form->findChild<TransferLogView*>("TransferLogView");
    if (!view) {
        ADD_FAILURE() << "no log shown";
        return {};
    }
    if (failure) *failure = view->findChild<QLabel*>("LogFailure")->text();
    return view->findChild<QPlainTextEdit*>("LogText")->toPlainText();
}

TEST(TransferLogView, EachRunOfTheWindowLeavesItsLine) {
    struct Case {
        const char* name;
        std::function<void(ScaleWindow&)> run;
        std::vector<QString> expected;
        int lines;
    };
    const Case cases[] = {
        {"a PLU download",
         [](ScaleWindow& w) {
             w.SetList(tables::ListKind::Plu, {PluRow(1), PluRow(2)});
             RunDownload(w);
         },
         {"COM2", "plu-download rows 2/2 ok"},
         1},
        {"a message download refused at row 2",
         [](ScaleWindow& w) {
             sim::Fault refuse;
             refuse.kind = sim::Kind::MsgDownload;
             refuse.occurrence = 2;
             refuse.step = sim::Step::NumberCheck;
             refuse.action = sim::Action::Refuse;
             w.scale.Inject(refuse);
             w.SetList(tables::ListKind::Msg, {MsgRow(1), MsgRow(2)});
             RunDownload(w);
         },
         {"msg-download rows 1/2 F5", "msg-download row 2 F5"},
         2},
        {"an upload",
         [](ScaleWindow& w) {
             sim::PluRecord r;
             r.plu = 1;
             w.scale.PutPlu(r);
             w.h.Click("Button18");
             w.h.Click("Button22");
         },
         {"plu-upload rows 1/? ok"},
         1},
        {"a readout", [](ScaleWindow& w) { w.h.Click("StartBtn"); }, {"readout rows 1/1 ok"}, 1},
    };
    for (const Case& c : cases) {
        ScaleWindow w;
        c.run(w);
        const QString log = ShownLog(w);
        for (const QString& part : c.expected)
            EXPECT_TRUE(log.contains(part)) << c.name << "\n" << log.toStdString();
        EXPECT_EQ(log.count('\n'), c.lines) << c.name;
    }
}

TEST(TransferLogView, CopiesTheWholeLog) {
    ScaleWindow w;
    w.h.Click("StartBtn");
    w.h.Click("StartBtn");
    const QString log = ShownLog(w);
    w.h.form->findChild<QPushButton*>("CopyLog")->click();
    EXPECT_EQ(QApplication::clipboard()->text(), log);
    EXPECT_EQ(log.count(QStringLiteral("readout")), 2);
}

TEST(TransferLogView, ALogThatCannotBeWrittenLetsTheRunEndAndIsSaidInTheLog) {
    ScaleWindow w;
    // The state folder is a file: no log can be made under it.
    const std::string blocked = w.h.config.Dir() + "/state-is-a-file";
    std::ofstream(blocked) << "x";
    setenv("XDG_STATE_HOME", blocked.c_str(), 1);
    w.SetList(tables::ListKind::Plu, {PluRow(1)});
    RunDownload(w);
    EXPECT_EQ(w.BoxTexts(), std::vector<QString>{QStringLiteral("Данные переданы")});
    QString failure;
    EXPECT_EQ(ShownLog(w, &failure), "");
    EXPECT_TRUE(failure.startsWith(QStringLiteral("Журнал обмена не записывается")))
        << failure.toStdString();
}

}  // namespace
