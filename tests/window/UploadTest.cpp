// Uploading the scale's PLU list into the table, against the virtual scale.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <atomic>

#include "CodePage1251.h"
#include "GridModel.h"
#include "GridView.h"
#include "ScaleText.h"
#include "ScaleWindow.h"

namespace {

const QString kReceived = QStringLiteral("Данные приняты");
const QString kLinkCheck = QStringLiteral("Проверьте СОМ-порт или линию связи");

sim::PluRecord StoredPlu(std::uint16_t plu, const QString& name = QStringLiteral("Сыр")) {
    sim::PluRecord r;
    r.plu = plu;
    r.itemCode = 1000 + plu;
    r.name1 = sim::NameLineFromText(Cp(name));
    r.name2 = sim::NameLineFromText(Cp(QStringLiteral("кг")));
    r.price = 100 * plu;
    r.shelfLife = 5;
    r.tare = 7;
    r.group = 2;
    r.message = 3;
    return r;
}

void Store(sim::VirtualScale& scale, int count) {
    for (int plu = 1; plu <= count; ++plu) scale.PutPlu(StoredPlu(static_cast<std::uint16_t>(plu)));
}

// The cells of data row r as the operator sees them, code page 1251 bytes.
tables::Row RowOf(TForm1& form, int r) {
    return form.ForTests().Grid().RowAt(r);
}

tables::Row ExpectedRow(int plu) {
    return {std::to_string(plu),
            Cp(QStringLiteral("Сыр")),
            Cp(QStringLiteral("кг")),
            std::to_string(100 * plu),
            "5",
            "7",
            std::to_string(1000 + plu),
            "2",
            "3"};
}

// Fills the table with a PLU list the operator has edited.
void EditedList(ScaleWindow& w) {
    w.h.form->Button18Click();
    w.h.form->StringGrid1SetEditText(1, 1, QStringLiteral("x"));
}

void ExpectRows(TForm1& form, int rows) {
    ASSERT_EQ(form.ForTests().Grid().RowCount(), rows + 2);
    for (int r = 1; r <= rows; ++r) EXPECT_EQ(RowOf(form, r), ExpectedRow(r)) << "row " << r;
    EXPECT_EQ(form.ForTests().Grid().Cell(0, rows + 1), "***");
    EXPECT_EQ(form.ForTests().Grid().Cell(0, 0), "PLU");
}

TEST(Upload, RefusalAtRequestFourEndsTheListAfterThreePlus) {
    ScaleWindow w;
    Store(w.scale, 3);
    w.h.form->Button18Click();
    w.h.Click("Button22");
    ExpectRows(*w.h.form, 3);
    EXPECT_EQ(w.BoxTexts(), std::vector<QString>{kReceived});
    EXPECT_TRUE(w.h.form->ForTests().TableModified());
    const auto exchanges = w.Ended(4);
    ASSERT_EQ(exchanges.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(exchanges[i].kind, sim::Kind::PluUpload);
        EXPECT_EQ(exchanges[i].fromPc,
                  (sim::Bytes{0xA5, 0x05, 0x00, static_cast<std::uint8_t>(i + 1)}));
    }
}

TEST(Upload, UndoingBackToAnUploadedListStillLeavesItToSave) {
    ScaleWindow w;
    Store(w.scale, 3);
    w.h.form->Button18Click();
    w.h.Click("Button22");
    auto* grid = w.h.Find<GridView>("StringGrid1");
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QApplication::clipboard()->setText(QStringLiteral("x\n"));
    for (const Qt::Key key : {Qt::Key_V, Qt::Key_Z}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
        QApplication::sendEvent(grid, &press);
    }
    ExpectRows(*w.h.form, 3);
    EXPECT_TRUE(w.h.form->ForTests().TableModified());
}

TEST(Upload, RefusalAtRequestOneLeavesAnEmptyPluList) {
    ScaleWindow w;
    w.h.form->Button18Click();
    w.h.Model().Replace([](tables::Table& t) { tables::AddRow(t); });
    w.h.Click("Button22");
    ExpectRows(*w.h.form, 0);
    EXPECT_EQ(w.BoxTexts(), std::vector<QString>{kReceived});
    EXPECT_TRUE(w.h.form->ForTests().TableModified());
}

TEST(Upload, NoAnswerAtRequestOneShowsOneBoxAndNoReceipt) {
    ScaleWindow w;
    Store(w.scale, 3);
    w.scale.Inject({sim::Kind::Any, 1, 0, sim::Step::Ready, sim::Action::Silence});
    w.h.form->Button18Click();
    w.h.Click("Button22");
    EXPECT_EQ(w.BoxTexts(), std::vector<QString>{kLinkCheck});
    EXPECT_EQ(w.h.dialogs->boxes[0].kind, BoxKind::Error);
    ExpectRows(*w.h.form, 0);
    EXPECT_TRUE(w.h.form->ForTests().TransferFailed());
    EXPECT_TRUE(w.h.form->ForTests().TableModified());
    EXPECT_FALSE(w.h.form->ForTests().LinkAnswered());
    for (const char* name : {"StartBtn", "Button12", "Button21", "Button22", "Button25"})
        EXPECT_TRUE(w.h.Find<QPushButton>(name)->isEnabled()) << name;
    EXPECT_TRUE(w.h.Find<QPushButton>("Button24")->isHidden());
}

TEST(Upload, RefusalByteAtRequestFiveKeepsFourRowsAndStillReportsReceipt) {
    ScaleWindow w;
    Store(w.scale, 8);
    w.scale.Inject({sim::Kind::Any, 5, 0, sim::Step::Ready, sim::Action::Byte, 0x15});
    w.h.form->Button18Click();
    w.h.Click("Button22");
    EXPECT_EQ(w.BoxTexts(), (std::vector<QString>{kLinkCheck, kReceived}));
    EXPECT_EQ(w.h.dialogs->boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(w.h.dialogs->boxes[1].kind, BoxKind::Plain);
    ExpectRows(*w.h.form, 4);
    EXPECT_TRUE(w.h.Find<QPushButton>("Button21")->isEnabled());
}

TEST(Upload, AWrongAcceptByteEndsTheRunLikeARefusal) {
    ScaleWindow w;
    Store(w.scale, 3);
    w.scale.Inject({sim::Kind::PluUpload, 2, 0, sim::Step::Accept, sim::Action::Byte, 0x00});
    w.h.form->Button18Click();
    w.h.Click("Button22");
    EXPECT_EQ(w.BoxTexts(), (std::vector<QString>{kLinkCheck, kReceived}));
    ExpectRows(*w.h.form, 1);
}

TEST(Upload, StopDuringRequestSevenCompletesItAndEnds) {
    ScaleWindow w;
    Store(w.scale, 10);
    TForm1* form = w.h.form.get();
    QPushButton* stop = w.h.Find<QPushButton>("Button24");
    w.scale.OnExchangeStart([stop](const sim::ExchangeStart& start) {
        if (start.kind == sim::Kind::PluUpload && start.number == 7)
            QMetaObject::invokeMethod(stop, "click", Qt::QueuedConnection);
    });
    form->Button18Click();
    w.h.Click("Button22");
    ExpectRows(*form, 7);
    EXPECT_EQ(w.BoxTexts(), std::vector<QString>{kReceived});
    EXPECT_EQ(w.Ended(7).size(), 7u);
    EXPECT_TRUE(w.NothingMoreAfter(7 * 4)) << "no eighth request";
    EXPECT_TRUE(w.h.Find<QPushButton>("Button24")->isHidden());
}

TEST(Upload, FieldsAreDecodedFromTheScaleBytes) {
    ScaleWindow w;
    sim::PluRecord r;
    r.plu = 300;
    r.itemCode = -1;
    r.name1.fill(0x00);
    r.name1[0] = 0x20;
    r.name1[1] = 0x20;
    r.name1[2] = 0x80;
    r.name1[3] = 0x81;
    r.name2.fill(0x20);
    r.name2[0] = 'A';
    r.name2[2] = 'B';
    r.price = 12345;
    r.shelfLife = 65535;
    r.message = 200;
    w.scale.PutPlu(r);
    w.h.form->Button18Click();
    w.h.Click("Button22");
    ASSERT_EQ(w.h.form->ForTests().Grid().RowCount(), 3);
    const tables::Row expected = {
        "300", Cp(QStringLiteral("АБ")), "A B", "12345", "65535", "0", "-1", "0", "200"};
    EXPECT_EQ(RowOf(*w.h.form, 1), expected);
}

TEST(Upload, AllZeroNameBytesGiveAnEmptyCell) {
    ScaleWindow w;
    sim::PluRecord r = StoredPlu(1);
    r.name1.fill(0x00);
    w.scale.PutPlu(r);
    w.h.form->Button18Click();
    w.h.Click("Button22");
    EXPECT_EQ(w.h.form->ForTests().Grid().Cell(1, 1), "");
}

TEST(Upload, TwentyRecordsScrollFromTheEleventhAndEndBackAtRowOne) {
    ScaleWindow w;
    Store(w.scale, 20);
    TForm1* form = w.h.form.get();
    form->resize(765, 542);
    form->show();
    // The view's scroll position as each request starts: the window is then inside the
    // exchange, so reading it from the scale's thread races with nothing.
    std::vector<int> scrollAtRequest(22, -1);
    GridView* grid = w.h.Find<GridView>("StringGrid1");
    w.scale.OnExchangeStart([&](const sim::ExchangeStart& start) {
        if (start.number < 22) scrollAtRequest[start.number] = grid->verticalScrollBar()->value();
    });
    form->Button18Click();
    w.h.Click("Button22");
    ExpectRows(*form, 20);
    const int max = w.h.Find<GridView>("StringGrid1")->verticalScrollBar()->maximum();
    ASSERT_GT(max, 0) << "the view must be too small for 22 rows";
    // Request k + 1 starts after record k: records 1..10 leave the view where it was.
    for (int k = 1; k <= 10; ++k) EXPECT_EQ(scrollAtRequest[k + 1], 0) << "after record " << k;
    for (int k = 11; k <= 20; ++k)
        EXPECT_EQ(scrollAtRequest[k + 1], std::min(k - 10, max)) << "after record " << k;
    EXPECT_EQ(w.h.Find<GridView>("StringGrid1")->verticalScrollBar()->value(), 0);
}

TEST(Upload, CancelInThePromptSendsNothingAndKeepsTheTable) {
    ScaleWindow w;
    Store(w.scale, 2);
    EditedList(w);
    const tables::Table before = w.h.form->ForTests().Grid();
    w.h.dialogs->promptAnswers = {Answer::Cancel};
    w.h.Click("Button22");
    ASSERT_EQ(w.h.dialogs->boxes.size(), 1u);
    EXPECT_EQ(w.h.dialogs->boxes[0].kind, BoxKind::Prompt);
    EXPECT_EQ(w.h.dialogs->boxes[0].text,
              QStringLiteral("Очевидно будет прочитан новый список товаров\r\nВ старой таблице  "
                             "были изменения.\r\nСохранить ?"));
    EXPECT_TRUE(w.NothingMoreAfter(0));
    EXPECT_EQ(w.h.form->ForTests().Grid().RowAt(1), before.RowAt(1));
    EXPECT_TRUE(w.h.form->ForTests().TableModified());
}

TEST(Upload, YesOnANeverSavedTableShowsTheSaveDialogOnceThenUploads) {
    ScaleWindow w;
    Store(w.scale, 2);
    EditedList(w);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("before.plu"));
    w.h.dialogs->promptAnswers = {Answer::Yes};
    w.h.dialogs->fileAnswers = {path};
    w.h.Click("Button22");
    ASSERT_EQ(w.h.dialogs->fileDialogs.size(), 1u);
    EXPECT_TRUE(w.h.dialogs->fileDialogs[0].save);
    EXPECT_TRUE(QFile::exists(path));
    ExpectRows(*w.h.form, 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(Upload, YesWhoseSaveIsCancelledKeepsTheEditsAndSendsNothing) {
    ScaleWindow w;
    Store(w.scale, 2);
    EditedList(w);
    w.h.dialogs->promptAnswers = {Answer::Yes};
    w.h.Click("Button22");
    EXPECT_EQ(w.h.dialogs->fileDialogs.size(), 1u);
    EXPECT_TRUE(w.NothingMoreAfter(0));
    EXPECT_TRUE(w.h.form->ForTests().TableModified());
    EXPECT_EQ(w.h.form->ForTests().Grid().RowCount(), 3);
}

TEST(Upload, HangUpInRecordThreeEndsTheRunKeepingRowsOneAndTwo) {
    ScaleWindow w;
    Store(w.scale, 5);
    sim::Fault hangUp{sim::Kind::PluUpload, 3, 0, sim::Step::Record, sim::Action::HangUp};
    hangUp.afterBytes = 10;
    w.scale.Inject(hangUp);
    w.h.form->Button18Click();
    w.h.Click("Button22");
    EXPECT_EQ(w.BoxTexts().front(), kLinkCheck);
    ExpectRows(*w.h.form, 2);
    EXPECT_TRUE(w.h.form->ForTests().TableModified());
    // Responsive: the buttons work again and the window still runs commands.
    EXPECT_TRUE(w.h.Find<QPushButton>("Button22")->isEnabled());
    w.h.Click("Button16");
    EXPECT_EQ(w.h.form->ForTests().Grid().RowCount(), 5);
}

TEST(Upload, BeforeThePortIsSetItAsksForThePortAndLeavesTheTable) {
    ScaleWindow w(false);
    Store(w.scale, 2);
    w.h.form->Button18Click();
    w.h.Model().Replace([](tables::Table& t) { t.SetCell(1, 1, "kept"); });
    w.h.Trigger("PLU2");
    EXPECT_EQ(w.BoxTexts(), std::vector<QString>{QStringLiteral("Установите параметры СОМ-порта")});
    EXPECT_EQ(w.h.form->ForTests().Grid().Cell(1, 1), "kept");
    EXPECT_TRUE(w.NothingMoreAfter(0));
}

TEST(Upload, OtherCommandsAreRefusedDuringTheRunAndACloseWaitsForItsEnd) {
    ScaleWindow w;
    Store(w.scale, 6);
    TForm1* form = w.h.form.get();
    form->show();
    QAction* newMsgList = w.h.Find<QAction>("N2");
    QAction* open = w.h.Find<QAction>("N3");
    w.scale.OnExchangeStart([form, newMsgList, open](const sim::ExchangeStart& start) {
        if (start.kind != sim::Kind::PluUpload) return;
        if (start.number == 2) {
            QMetaObject::invokeMethod(newMsgList, "trigger", Qt::QueuedConnection);
            QMetaObject::invokeMethod(open, "trigger", Qt::QueuedConnection);
        }
        if (start.number == 4) QMetaObject::invokeMethod(form, "close", Qt::QueuedConnection);
    });
    form->Button18Click();
    w.h.dialogs->promptAnswers = {Answer::No};
    w.h.Find<QAction>("PLU2")->trigger();
    // The message-list and Open commands never ran; the close stopped the run after row 4 and
    // then asked about the unsaved upload.
    EXPECT_TRUE(form->ForTests().TableIsPlu());
    EXPECT_TRUE(w.h.dialogs->fileDialogs.empty());
    ExpectRows(*form, 4);
    EXPECT_EQ(w.BoxTexts(),
              (std::vector<QString>{kReceived,
                                    QStringLiteral("В таблице были изменения.\r\nСохранить ?")}));
    EXPECT_FALSE(form->isVisible());
}

TEST(Upload, TheListBecomesAPluListAndForgetsItsFile) {
    ScaleWindow w;
    Store(w.scale, 1);
    w.h.form->Button17Click();
    QTemporaryDir dir;
    w.h.dialogs->fileAnswers = {dir.filePath(QStringLiteral("old.msg"))};
    w.h.Click("Button19");
    ASSERT_FALSE(w.h.form->ForTests().TableFileName().isEmpty());
    w.h.Find<QAction>("PLU2")->trigger();
    EXPECT_TRUE(w.h.form->ForTests().TableIsPlu());
    EXPECT_TRUE(w.h.form->ForTests().TableExists());
    EXPECT_EQ(w.h.form->ForTests().SaveDialog1().filter, "*.plu|*.plu");
    EXPECT_EQ(w.h.form->ForTests().SaveDialog1().defaultSuffix, "plu");
    EXPECT_EQ(w.h.form->ForTests().OpenDialog1().filter, "*.plu;*.plw|*.plu;*.plw");
    EXPECT_EQ(w.h.form->ForTests().SaveDialog1().fileName, "noname1");
    EXPECT_TRUE(w.h.form->ForTests().TableFileName().isEmpty());
    ExpectRows(*w.h.form, 1);
}

// The records the status line counts, from its "записей: N"; -1 when it names none.
int CountedRecords(const ScaleWindow& w) {
    static const QRegularExpression kCount(QStringLiteral("записей: (\\d+)"));
    const auto match = kCount.match(w.h.Find<QLabel>("GridStatus")->text());
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

TEST(Upload, TheStatusLineCountsTheRecordsAsOpeningTheSavedListDoes) {
    for (const int records : {1, 8, 20}) {
        ScaleWindow w;
        Store(w.scale, records);
        w.h.Trigger("PLU2");
        EXPECT_EQ(CountedRecords(w), records) << records;
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("uploaded.plu"));
        w.h.dialogs->fileAnswers = {path, path};
        w.h.Click("Button19");
        w.h.Click("Button20");
        EXPECT_EQ(w.h.form->ForTests().TableFileName(), path) << records;
        EXPECT_EQ(CountedRecords(w), records) << records;
    }
}

}  // namespace
