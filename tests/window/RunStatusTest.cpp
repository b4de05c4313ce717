// The status line after a run says what the run did, beside the box that ends it.

#include <gtest/gtest.h>

#include <QStatusBar>
#include <functional>

#include "ScaleWindow.h"

namespace {

std::vector<tables::Row> PluRows(int count) {
    std::vector<tables::Row> rows;
    for (int plu = 1; plu <= count; ++plu) rows.push_back(PluRow(plu));
    return rows;
}

// Presses Stop as the scale begins its exchange of this occurrence.
void StopAt(ScaleWindow& w, sim::Kind kind, int occurrence) {
    QPushButton* stop = w.h.Find<QPushButton>("Button24");
    w.scale.OnExchangeStart([stop, kind, occurrence](const sim::ExchangeStart& start) {
        if (start.kind == kind && start.occurrence == occurrence)
            QMetaObject::invokeMethod(stop, "click", Qt::QueuedConnection);
    });
}

void StorePlus(ScaleWindow& w, int count) {
    for (int plu = 1; plu <= count; ++plu) {
        sim::PluRecord record;
        record.plu = static_cast<std::uint16_t>(plu);
        record.price = 100 * plu;
        w.scale.PutPlu(record);
    }
}

TEST(RunStatus, TheStatusLineSaysWhatTheRunDid) {
    const struct {
        const char* name;
        std::function<void(ScaleWindow&)> run;
        QString box;
        QString status;
    } cases[] = {
        {"a whole load",
         [](ScaleWindow& w) {
             w.SetList(tables::ListKind::Plu, PluRows(3));
             RunDownload(w);
         },
         QStringLiteral("Данные переданы"), QStringLiteral("Передано строк: 3 из 3")},
        {"a load stopped at row 2 of 5",
         [](ScaleWindow& w) {
             w.SetList(tables::ListKind::Plu, PluRows(5));
             StopAt(w, sim::Kind::PluDownload, 2);
             RunDownload(w);
         },
         QStringLiteral("Данные переданы"), QStringLiteral("Передано строк: 2 из 5, остановлено")},
        {"a load that met a bad row",
         [](ScaleWindow& w) {
             std::vector<tables::Row> rows = PluRows(3);
             rows[1][tables::Column::Price] = "abc";
             w.SetList(tables::ListKind::Plu, rows);
             RunDownload(w);
         },
         QStringLiteral("Ошибка ввода данных в таблице!"),
         QStringLiteral("Передано строк: 1 из 3, ошибка в строке 2")},
        {"the changed rows only",
         [](ScaleWindow& w) {
             w.SetList(tables::ListKind::Plu, PluRows(5));
             RunDownload(w);
             w.h.dialogs->boxes.clear();
             GridModel& model = w.h.Model();
             model.setData(model.index(2, tables::Column::Price), QStringLiteral("77"),
                           Qt::EditRole);
             w.h.Trigger("SendChangesItem");
         },
         QStringLiteral("Данные переданы"),
         QStringLiteral("Передано строк: 1 из 1; без изменений пропущено: 4")},
        {"an upload",
         [](ScaleWindow& w) {
             StorePlus(w, 4);
             w.h.Trigger("PLU2");
         },
         QStringLiteral("Данные приняты"), QStringLiteral("Принято записей: 4")},
        {"an upload stopped after its second record",
         [](ScaleWindow& w) {
             StorePlus(w, 4);
             StopAt(w, sim::Kind::PluUpload, 2);
             w.h.Trigger("PLU2");
         },
         QStringLiteral("Данные приняты"), QStringLiteral("Принято записей: 2, остановлено")},
    };
    for (const auto& c : cases) {
        ScaleWindow w;
        c.run(w);
        EXPECT_EQ(w.BoxTexts(), std::vector<QString>{c.box}) << c.name;
        EXPECT_EQ(w.h.form->statusBar()->currentMessage(), c.status) << c.name;
    }
}

}  // namespace
