// "Сверить с весами" and "Переслать изменения" against the virtual scale.

#include <gtest/gtest.h>

#include <QProgressBar>
#include <functional>
#include <mutex>
#include <optional>

#include "FrozenFile.h"
#include "KnownContents.h"
#include "ScaleLists.h"
#include "ScaleWindow.h"

namespace {

const QString kSent = QStringLiteral("Данные переданы");

std::vector<tables::Row> PluRows(int count) {
    std::vector<tables::Row> rows;
    for (int plu = 1; plu <= count; ++plu) {
        tables::Row row = PluRow(plu);
        row[tables::Column::Price] = std::to_string(100 * plu);
        rows.push_back(row);
    }
    return rows;
}

void Edit(ScaleWindow& w, int row, int column, const QString& text) {
    GridModel& model = w.h.Model();
    model.setData(model.index(row - 1, column), text, Qt::EditRole);
}

void SetPrice(sim::VirtualScale& scale, int plu, int price) {
    sim::PluRecord record = *scale.FindPlu(static_cast<std::uint16_t>(plu));
    record.price = price;
    scale.PutPlu(record);
}

// The highlighted cells, (table row, column), with their tool tips.
std::map<std::pair<int, int>, QString> Highlights(ScaleWindow& w) {
    GridModel& model = w.h.Model();
    std::map<std::pair<int, int>, QString> cells;
    for (int r = 0; r < model.rowCount(); ++r) {
        for (int c = 0; c < model.columnCount(); ++c) {
            const QModelIndex at = model.index(r, c);
            if (model.data(at, Qt::BackgroundRole).isValid())
                cells[{r + 1, c}] = model.data(at, Qt::ToolTipRole).toString();
        }
    }
    return cells;
}

std::vector<int> Downloaded(const ScaleWindow& w) {
    std::vector<int> plus;
    for (const sim::Exchange& e : w.scale.Exchanges())
        if (e.kind == sim::Kind::PluDownload || e.kind == sim::Kind::MsgDownload)
            plus.push_back(e.number);
    return plus;
}

TEST(CompareWindow, HighlightsEachDifferenceAndSumsItUpUntilTheTableChanges) {
    struct Case {
        const char* name;
        std::function<void(ScaleWindow&)> change;
    };
    const Case cases[] = {
        {"an edit", [](ScaleWindow& w) { Edit(w, 1, tables::Column::Tare, "3"); }},
        {"a row added", [](ScaleWindow& w) { w.h.Click("Button16"); }},
        {"a new list", [](ScaleWindow& w) { w.h.Click("Button18"); }},
        {"compared again with the scale put right",
         [](ScaleWindow& w) {
             SetPrice(w.scale, 2, 200);
             SwapPlu(w.scale, 8, 4, 400);
             w.h.Trigger("CompareItem");
             EXPECT_EQ(w.BoxTexts().back().left(20), QStringLiteral("Совпадает: 4, отлича"));
         }},
    };
    for (const Case& c : cases) {
        ScaleWindow w;
        std::vector<tables::Row> rows = PluRows(4);
        rows[2][tables::Column::Name1] += "   ";
        w.SetList(tables::ListKind::Plu, rows);
        RunDownload(w);
        SetPrice(w.scale, 2, 999);
        SwapPlu(w.scale, 4, 8, 800);
        w.h.Trigger("CompareItem");
        EXPECT_EQ(w.BoxTexts(),
                  (std::vector<QString>{kSent, QStringLiteral("Совпадает: 2, отличается: 1, нет в "
                                                              "весах: 1, нет в списке: 1\r\n"
                                                              "Только в весах: PLU 8")}))
            << c.name;
        std::map<std::pair<int, int>, QString> expected{
            {{2, tables::Column::Price}, QStringLiteral("В весах: 999")}};
        for (int column = 0; column < tables::kColumns; ++column)
            expected[{4, column}] = QStringLiteral("нет в весах");
        EXPECT_EQ(Highlights(w), expected) << c.name;
        for (int r = 1; r <= 4; ++r) EXPECT_EQ(w.h.form->ForTests().Grid().RowAt(r), rows[r - 1]);
        c.change(w);
        EXPECT_TRUE(Highlights(w).empty()) << c.name;
    }
}

TEST(CompareWindow, NeedsThePortAndAPluListAndFailsAsTheUploadDoes) {
    struct Case {
        const char* name;
        bool portSet;
        std::optional<tables::ListKind> kind;  // none: no list at all
        bool silent;
        QString box;
    };
    const Case cases[] = {
        {"no port", false, tables::ListKind::Plu, false,
         QStringLiteral("Установите параметры СОМ-порта")},
        {"no list", true, std::nullopt, false,
         QStringLiteral("Нет списка PLU, который можно сверить с весами: откройте или создайте "
                        "его")},
        {"a message list", true, tables::ListKind::Msg, false,
         QStringLiteral("Сверить с весами можно только список PLU: сообщения весы обратно не "
                        "передают")},
        {"a silent scale", true, tables::ListKind::Plu, true,
         QStringLiteral("Проверьте СОМ-порт или линию связи")},
    };
    for (const Case& c : cases) {
        ScaleWindow w(c.portSet);
        if (c.kind) w.SetList(*c.kind, {*c.kind == tables::ListKind::Plu ? PluRow(1) : MsgRow(1)});
        if (c.silent)
            w.scale.Inject({sim::Kind::Any, 1, 0, sim::Step::Ready, sim::Action::Silence});
        w.h.Trigger("CompareItem");
        EXPECT_EQ(w.BoxTexts(), std::vector<QString>{c.box}) << c.name;
        EXPECT_TRUE(Highlights(w).empty()) << c.name;
        if (c.kind) {
            EXPECT_TRUE(w.h.Find<QPushButton>("Button21")->isEnabled()) << c.name;
        }
    }
}

TEST(SendChangesWindow, SendsOnlyChangedRowsOrAsksBeforeTheWholeList) {
    struct Case {
        const char* name;
        std::function<void(ScaleWindow&)> before;
        std::vector<Answer> answers;
        std::vector<int> sent;
        std::vector<QString> boxes;  // the start of each box's text
        bool knownAfter;
        bool readOnly = false;  // the known contents can be neither rewritten nor removed
    };
    auto fullLoad = [](ScaleWindow& w) { RunDownload(w); };
    auto stoppedAtRowTwo = [](ScaleWindow& w) {
        QPushButton* stop = w.h.Find<QPushButton>("Button24");
        w.scale.OnExchangeStart([stop](const sim::ExchangeStart& start) {
            if (start.kind == sim::Kind::PluDownload && start.number == 2)
                QMetaObject::invokeMethod(stop, "click", Qt::QueuedConnection);
        });
        RunDownload(w);
        w.scale.OnExchangeStart(nullptr);
    };
    auto anotherList = [](ScaleWindow& w) {
        RunDownload(w);
        for (int plu = 1; plu <= 5; ++plu) SetPrice(w.scale, plu, 7);
    };
    const QString stale = QStringLiteral("В весах не то, что было в них передано");
    const QString unknown = QStringLiteral("Неизвестно, что сейчас в весах на COM2");
    const QString notWritten = QStringLiteral("Известное содержимое весов на COM2 не записано");
    const std::vector<int> all{1, 2, 3, 4, 5};
    const Case cases[] = {
        {"after a full load", fullLoad, {}, {2, 4}, {kSent}, true},
        {"after a load stopped at row 2", stoppedAtRowTwo, {}, {2, 3, 4, 5}, {kSent}, true},
        {"nothing known, No", [](ScaleWindow&) {}, {Answer::No}, {}, {unknown}, false},
        {"nothing known, Yes", [](ScaleWindow&) {}, {Answer::Yes}, all, {unknown, kSent}, true},
        // What the scale did not back is forgotten.
        {"another list, No", anotherList, {Answer::No}, {}, {stale}, false},
        {"another list, Yes", anotherList, {Answer::Yes}, all, {stale, kSent}, true},
        {"read-only known contents", fullLoad, {}, {}, {notWritten}, true, true},
    };
    for (const Case& c : cases) {
        ScaleWindow w;
        w.SetList(tables::ListKind::Plu, PluRows(5));
        c.before(w);
        Edit(w, 2, tables::Column::Price, "250");
        Edit(w, 4, tables::Column::Name2, QStringLiteral("кг"));
        w.h.dialogs->boxes.clear();
        w.scale.ClearReceived();
        ProgressLog progress(w, sim::Kind::PluDownload);
        w.h.dialogs->promptAnswers.assign(c.answers.begin(), c.answers.end());
        std::optional<FrozenFile> frozen;
        if (c.readOnly) {
            ASSERT_TRUE(
                frozen.emplace(jobs::KnownContentsPath("COM2", scale::RowKind::Plu)).Frozen());
        }
        w.h.Trigger("SendChangesItem");
        EXPECT_EQ(Downloaded(w), c.sent) << c.name;
        const std::vector<QString> boxes = w.BoxTexts();
        ASSERT_EQ(boxes.size(), c.boxes.size()) << c.name;
        for (std::size_t i = 0; i < boxes.size(); ++i)
            EXPECT_TRUE(boxes[i].startsWith(c.boxes[i])) << c.name << boxes[i].toStdString();
        std::vector<int> expected;
        for (std::size_t n = 1; n <= c.sent.size(); ++n)
            expected.push_back(static_cast<int>((100 * n + c.sent.size() / 2) / c.sent.size()));
        EXPECT_EQ(progress.Values(), expected) << c.name;
        EXPECT_EQ(jobs::LoadKnown("COM2", scale::RowKind::Plu).has_value(), c.knownAfter) << c.name;
        if (!c.sent.empty()) {
            EXPECT_EQ(w.scale.FindPlu(2)->price, 250) << c.name;
        }
    }
}

TEST(SendChangesWindow, AMessageListIsSentByItsChangesOnlyWhenTheOperatorTrustsThem) {
    for (const Answer answer : {Answer::Yes, Answer::No}) {
        ScaleWindow w;
        w.SetList(tables::ListKind::Msg, {MsgRow(1, {"One"}), MsgRow(2, {"Two"}), MsgRow(3)});
        RunDownload(w);
        Edit(w, 2, 3, QStringLiteral("Three"));
        w.h.dialogs->boxes.clear();
        w.scale.ClearReceived();
        w.h.dialogs->promptAnswers = {answer};
        w.h.Trigger("SendChangesItem");
        ASSERT_FALSE(w.h.dialogs->boxes.empty());
        EXPECT_EQ(w.h.dialogs->boxes[0].kind, BoxKind::Question);
        EXPECT_TRUE(w.h.dialogs->boxes[0].text.contains(QStringLiteral("(1 из 3)")));
        EXPECT_EQ(Downloaded(w), answer == Answer::Yes ? std::vector<int>{2} : std::vector<int>{});
    }
}

}  // namespace
