// The end box of a run on several scales: each scale's line in the words of one scale's boxes,
// and whether the run as a whole ended well.

#include <gtest/gtest.h>

#include "DownloadSteps.h"
#include "ShopTexts.h"
#include "Texts.h"

namespace {

using End = jobs::ChangesResult::End;

jobs::ShopScaleState Ended(jobs::ShopScaleEnd end) {
    jobs::ShopScaleState s;
    s.stage = jobs::ShopScaleState::Stage::Ended;
    s.end = std::move(end);
    return s;
}

jobs::ShopScaleEnd Load(End how, int done, int rows, int skipped = -1) {
    jobs::ShopScaleEnd end;
    end.load.end = how;
    end.load.rows = rows;
    end.load.skipped = skipped;
    end.load.report.rowsDone = done;
    return end;
}

jobs::ShopScaleEnd Failed(int done, int rows, jobs::Failure failure) {
    jobs::ShopScaleEnd end = Load(End::Sent, done, rows);
    end.load.report.failure = failure;
    return end;
}

TEST(ShopTextsTest, EachScaleGetsOneLineSayingHowItsRunEnded) {
    jobs::ShopScaleEnd stopped = Load(End::Sent, 3, 10);
    stopped.load.report.stopped = true;
    jobs::ShopScaleEnd notOpened;
    notOpened.openProblem = "COM5 занят программой minicom";
    jobs::ShopScaleEnd stuck = Load(End::Declined, 0, 4);
    stuck.load.distrust = jobs::Distrust::NotKeepable;
    stuck.load.detail = "Не удалось записать известное";
    jobs::ShopScaleEnd declined = Load(End::Declined, 0, 4);
    declined.load.distrust = jobs::Distrust::Unknown;
    jobs::ShopScaleEnd readOk;
    readOk.readout.outcome = scale::ReadoutOutcome::Ok;
    readOk.readout.reading = {1234, 5678, 7006};
    jobs::ShopScaleEnd readSilent;
    readSilent.readout.outcome = scale::ReadoutOutcome::NoAnswer;

    struct Case {
        const char* name;
        jobs::ShopScaleEnd end;
        jobs::ShopTask task;
        std::vector<QString> holds;  // parts the line must hold
        bool well;
    };
    const auto load = jobs::ShopTask::SendChanges;
    const std::vector<Case> cases = {
        {"all sent", Load(End::Sent, 5, 5), load, {texts::DataSent(), "5 из 5"}, true},
        {"changes sent, the rest skipped",
         Load(End::Sent, 2, 2, 8),
         load,
         {texts::DataSent(), "2 из 2", "пропущено: 8"},
         true},
        {"stopped", stopped, load, {"3 из 10", "остановлено"}, false},
        {"silent scale",
         Failed(0, 5, {1, scale::RowProblem::None, -1, scale::PluOutcome::T1}),
         load,
         {"ошибка в строке 1", texts::LinkCheck()},
         false},
        {"a bad row",
         Failed(2, 5, {3, scale::RowProblem::BadCell, 3, std::nullopt}),
         load,
         {"ошибка в строке 3", RowProblemText(scale::RowProblem::BadCell)},
         false},
        {"nothing changed", Load(End::NothingChanged, 0, 0, 7), load, {"(7)"}, true},
        {"check failed",
         [] {
             jobs::ShopScaleEnd e = Load(End::CheckFailed, 0, 5);
             e.load.report.failure =
                 jobs::Failure{0, scale::RowProblem::None, -1, scale::UploadOutcome::U1};
             return e;
         }(),
         load,
         {"проверка не прошла"},
         false},
        {"known contents stuck", stuck, load, {"Не удалось записать известное", "Ничего"}, false},
        {"answered no", declined, load, {"ничего не передано"}, false},
        {"port did not open", notOpened, load, {"занят программой minicom"}, false},
        {"display read", readOk, jobs::ShopTask::ReadDisplay, {"1,234", "56,78", "70,06"}, true},
        {"display silent", readSilent, jobs::ShopTask::ReadDisplay, {texts::LinkCheck()}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<jobs::ShopScaleState> states = {Ended(c.end)};
        const QString text = texts::ShopEndText(states, {QStringLiteral("COM7")}, c.task);
        EXPECT_TRUE(text.startsWith(QStringLiteral("COM7: "))) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("\r\n"))) << text.toStdString();
        for (const QString& part : c.holds) EXPECT_TRUE(text.contains(part)) << text.toStdString();
        EXPECT_EQ(texts::ShopAllWell(states, c.task), c.well);
    }
}

TEST(ShopTextsTest, OneLinePerScaleInTheRunsOrderAndOneFailureSpoilsTheWhole) {
    const std::vector<jobs::ShopScaleState> states = {
        Ended(Load(End::Sent, 5, 5)),
        Ended(Failed(0, 5, {1, scale::RowProblem::None, -1, scale::PluOutcome::T1})),
        Ended(Load(End::Sent, 5, 5))};
    const QString text = texts::ShopEndText(
        states, {QStringLiteral("COM2"), QStringLiteral("COM4"), QStringLiteral("COM3")},
        jobs::ShopTask::SendWholeList);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("COM2: ")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("COM4: ")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("COM3: ")));
    EXPECT_FALSE(texts::ShopAllWell(states, jobs::ShopTask::SendWholeList));
    EXPECT_TRUE(texts::ShopAllWell({states[0], states[2]}, jobs::ShopTask::SendWholeList));
}

TEST(ShopTextsTest, AMergedQuestionNamesEveryScaleItConcerns) {
    jobs::MergedQuestion unknown{jobs::QuestionKind::NothingKnown, {}};
    jobs::MergedQuestion stale{jobs::QuestionKind::KnownStale, {}};
    jobs::MergedQuestion unchecked{jobs::QuestionKind::MessagesUnchecked, {}};
    for (int s : {0, 2}) {
        jobs::ScaleQuestion q;
        q.scale = s;
        q.toSend = s + 1;
        q.rows = 9;
        unknown.asked.push_back(q);
        stale.asked.push_back(q);
        unchecked.asked.push_back(q);
    }
    const QStringList ports = {QStringLiteral("COM2"), QStringLiteral("COM3"),
                               QStringLiteral("COM4")};
    struct Case {
        const char* name;
        jobs::MergedQuestion question;
        std::vector<QString> holds;
    };
    const std::vector<Case> cases = {
        {"nothing known", unknown, {"COM2, COM4", "Переслать весь список?"}},
        {"stale", stale, {"COM2, COM4", "Переслать весь список?"}},
        {"unchecked", unchecked, {"COM2: 1 из 9", "COM4: 3 из 9", "Переслать изменения?"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString text = texts::MergedQuestionText(c.question, ports);
        for (const QString& part : c.holds) EXPECT_TRUE(text.contains(part)) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("COM3"))) << text.toStdString();
    }
}

}  // namespace
