// The download driver against the virtual scale: rows in order, progress, validation, Stop,
// and the run's exclusivity.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <mutex>

#include "DownloadSteps.h"
#include "GridModel.h"
#include "GridView.h"
#include "ScaleWindow.h"
#include "WaitFor.h"

namespace {

using tables::ListKind;

const QString kSent = QStringLiteral("Данные переданы");
const ControlState kEnded{true, true, true, true, false, true, false, false};

std::vector<tables::Row> PluRows(int count) {
    std::vector<tables::Row> rows;
    for (int i = 1; i <= count; ++i) rows.push_back(PluRow(i));
    return rows;
}

std::vector<int> Numbers(const std::vector<sim::Exchange>& exchanges) {
    std::vector<int> numbers;
    for (const auto& e : exchanges) {
        EXPECT_TRUE(e.complete) << e.number;
        numbers.push_back(e.number);
    }
    return numbers;
}

// Leaves a late readout reply waiting in the program's input.
void LeaveStaleBytes(ScaleWindow& w) {
    w.scale.SetDisplay(0x77777777, 0x77777777, 0x77777777);
    ASSERT_EQ(LeaveLateReadout(w), kReadoutBytes);
    w.h.dialogs->boxes.clear();
    w.atBox.clear();
    w.scale.ClearReceived();
}

TEST(DownloadDriver, ThreeRowsInOrderPastStaleInputWithProgress) {
    ScaleWindow w;
    LeaveStaleBytes(w);
    w.SetList(ListKind::Plu, PluRows(3));
    ProgressLog progress(w);
    RunDownload(w);
    EXPECT_EQ(progress.Values(), (std::vector<int>{33, 67, 100}));
    EXPECT_EQ(Numbers(w.Ended(3)), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(w.NothingMoreAfter(3 * 76));
    EXPECT_EQ(w.BoxTexts(), std::vector<QString>{kSent});
    EXPECT_EQ(w.h.dialogs->boxes[0].kind, BoxKind::Plain);
    EXPECT_EQ(w.atBox[0], (ControlState{true, true, true, true, false, true, true, false}));
    EXPECT_EQ(w.Controls(), kEnded);
}

TEST(DownloadDriver, EightRowsRoundTiesToEven) {
    ScaleWindow w;
    w.SetList(ListKind::Plu, PluRows(8));
    ProgressLog progress(w);
    w.h.Trigger("N15");
    EXPECT_EQ(progress.Values(), (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
    EXPECT_EQ(w.Ended(8).size(), 8u);
    EXPECT_EQ(w.BoxTexts(), std::vector<QString>{kSent});
}

TEST(DownloadDriver, ProgressIsTheNearestIntegerWithTiesToEven) {
    const struct {
        int row, rows, value;
    } cases[] = {{1, 3, 33}, {2, 3, 67},  {1, 8, 12},  {3, 8, 38},  {5, 8, 62},
                 {7, 8, 88}, {1, 200, 0}, {3, 200, 2}, {5, 200, 2}, {1, 1, 100}};
    for (const auto& c : cases) EXPECT_EQ(DownloadProgress(c.row, c.rows), c.value);
}

TEST(DownloadDriver, NoDataRowSendsNothingAndTheLastRowBecomesTheMarker) {
    for (int rows : {0, 2}) {
        ScaleWindow w;
        w.SetList(ListKind::Plu, PluRows(rows));
        const int last = w.h.form->ForTests().Grid().RowCount() - 1;
        for (int c = 0; c < 9; ++c) w.h.Model().SetCell(c, last, "typed");
        RunDownload(w);
        EXPECT_EQ(w.BoxTexts(), std::vector<QString>{kSent});
        EXPECT_EQ(w.Ended(rows).size(), static_cast<std::size_t>(rows));
        EXPECT_TRUE(w.NothingMoreAfter(76 * rows));
        EXPECT_EQ(w.h.form->ForTests().Grid().RowAt(last), (tables::Row{"***"}));
        EXPECT_FALSE(w.h.form->ForTests().TableModified());
    }
}

TEST(DownloadDriver, BadCellsStopTheRunAtTheirRow) {
    const QString data = QStringLiteral("Ошибка ввода данных в таблице!");
    const QString shelf = QStringLiteral("Ошибка ввода срока годности!");
    const struct {
        int column;
        const char* text;
        QString message;  // empty: the row is good and the run goes on
    } cases[] = {
        {5, "abc", data},      {4, "366", {}},  {4, "367", shelf}, {4, "-5", shelf},
        {0, "70000", data},    {3, "-1", data}, {0, "***", data},  {6, " 12", {}},
        {3, "2147483647", {}}, {7, "$1F", {}},
    };
    for (const auto& c : cases) {
        ScaleWindow w;
        auto rows = PluRows(3);
        rows[1][c.column] = c.text;
        w.SetList(ListKind::Plu, rows);
        RunDownload(w);
        const bool good = c.message.isEmpty();
        EXPECT_EQ(w.BoxTexts(), std::vector<QString>{good ? kSent : c.message}) << c.text;
        EXPECT_EQ(w.h.dialogs->boxes[0].kind, good ? BoxKind::Plain : BoxKind::Error);
        EXPECT_EQ(w.Ended(good ? 3 : 1).size(), good ? 3u : 1u) << c.text;
        EXPECT_TRUE(w.NothingMoreAfter(good ? 3 * 76 : 76)) << c.text;
        EXPECT_EQ(w.h.form->ForTests().Grid().Cell(c.column, 2), good ? c.text : "???") << c.text;
        EXPECT_EQ(w.Controls(), kEnded) << c.text;
    }
}

TEST(DownloadDriver, StopDuringRowTwoEndsAfterIt) {
    ScaleWindow w;
    w.SetList(ListKind::Plu, PluRows(5));
    QPushButton* stop = w.h.Find<QPushButton>("Button24");
    bool stopShown = false;
    w.scale.OnExchangeStart([&, stop](const sim::ExchangeStart& start) {
        if (start.occurrence != 2) return;
        stopShown = !stop->isHidden();
        QMetaObject::invokeMethod(stop, "click", Qt::QueuedConnection);
    });
    RunDownload(w);
    EXPECT_EQ(Numbers(w.Ended(2)), (std::vector<int>{1, 2}));
    EXPECT_TRUE(w.NothingMoreAfter(2 * 76));
    EXPECT_TRUE(stopShown);
    EXPECT_TRUE(w.h.form->ForTests().StopRequested());
    EXPECT_EQ(w.BoxTexts(), std::vector<QString>{kSent});
    EXPECT_EQ(w.Controls(), kEnded);
}

TEST(DownloadDriver, UploadButtonFollowsTheListKindAfterEveryEnding) {
    const struct {
        ListKind kind;
        bool badRow;
    } cases[] = {{ListKind::Msg, false},
                 {ListKind::Msg, true},
                 {ListKind::Plu, false},
                 {ListKind::Plu, true}};
    for (const auto& c : cases) {
        ScaleWindow w;
        const bool plu = c.kind == ListKind::Plu;
        std::vector<tables::Row> rows = plu ? PluRows(2) : std::vector<tables::Row>{MsgRow(1)};
        if (c.badRow) rows.back()[0] = "x";
        w.SetList(c.kind, rows);
        w.h.Find<QPushButton>("Button22")->setEnabled(!plu);
        RunDownload(w);
        EXPECT_EQ(w.h.Find<QPushButton>("Button22")->isEnabled(), plu) << plu << c.badRow;
        EXPECT_TRUE(w.h.Find<QPushButton>("Button21")->isEnabled());
    }
}

// Commands posted while a row is sent are refused, the grid's paste and undo among them; a close
// stops the run after that row and then asks about the unsaved table.
TEST(DownloadDriver, CommandsAndCloseDuringARun) {
    ScaleWindow w;
    w.SetList(ListKind::Plu, PluRows(4));
    w.h.form->StringGrid1SetEditText(1, 1, QStringLiteral("1"));
    w.h.form->show();
    TForm1* form = w.h.form.get();
    const std::vector<QAction*> items = {w.h.Find<QAction>("N12"), w.h.Find<QAction>("PLU1"),
                                         w.h.Find<QAction>("N2"), w.h.Find<QAction>("N15")};
    auto* grid = w.h.Find<GridView>("StringGrid1");
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QApplication::clipboard()->setText(QStringLiteral("9\n9\n9\n9\n9\n9\n9\n"));
    w.scale.OnExchangeStart([form, items, grid](const sim::ExchangeStart& start) {
        if (start.occurrence != 2) return;
        for (QAction* item : items)
            QMetaObject::invokeMethod(item, "trigger", Qt::QueuedConnection);
        // This is the scale's thread: the keys are made and sent on the window's.
        QMetaObject::invokeMethod(
            grid,
            [grid] {
                for (const Qt::Key key : {Qt::Key_V, Qt::Key_Z}) {
                    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
                    QApplication::sendEvent(grid, &press);
                }
            },
            Qt::QueuedConnection);
        QMetaObject::invokeMethod(form, "close", Qt::QueuedConnection);
    });
    w.h.dialogs->promptAnswers = {Answer::Cancel};
    RunDownload(w);
    EXPECT_EQ(Numbers(w.Ended(2)), (std::vector<int>{1, 2}));
    EXPECT_TRUE(w.NothingMoreAfter(2 * 76));
    ASSERT_EQ(w.h.dialogs->boxes.size(), 2u);
    EXPECT_EQ(w.h.dialogs->boxes[0].text, kSent);
    EXPECT_EQ(w.h.dialogs->boxes[1].kind, BoxKind::Prompt);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->ForTests().RunActive());
    // The refused commands left the table and the labels as they were.
    EXPECT_EQ(form->ForTests().Grid().RowCount(), 6);
    EXPECT_EQ(form->ForTests().Grid().Cell(0, 4), "4");
    EXPECT_TRUE(form->ForTests().TableIsPlu());
    EXPECT_EQ(w.h.Find<QLabel>("Summ1")->text(), "0,000");
}

TEST(DownloadDriver, CloseDuringARunWithNothingUnsavedClosesAfterIt) {
    ScaleWindow w;
    w.SetList(ListKind::Plu, PluRows(3));
    w.h.form->show();
    TForm1* form = w.h.form.get();
    w.scale.OnExchangeStart([form](const sim::ExchangeStart& start) {
        if (start.occurrence == 1) QMetaObject::invokeMethod(form, "close", Qt::QueuedConnection);
    });
    RunDownload(w);
    EXPECT_EQ(Numbers(w.Ended(1)), (std::vector<int>{1}));
    EXPECT_TRUE(w.NothingMoreAfter(76));
    EXPECT_EQ(w.BoxTexts(), std::vector<QString>{kSent});
    EXPECT_FALSE(form->isVisible());
}

}  // namespace
