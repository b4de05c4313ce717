// The grid as a spreadsheet: block copy, paste and clear, undo and redo, find, and the status
// line, on both kinds of list.

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QStatusBar>
#include <QTest>

#include "GridView.h"
#include "TableWindow.h"

namespace {

// A list of the kind with three records and the marker row, its stack fresh and nothing to save.
struct ListWindow : TableWindow {
    explicit ListWindow(const char* kind) {
        Run(kind);
        Focus(1, 1);
        SetRows({"1|Сыр|Российский|250", "4711|Молоко|свежее|80", "3|Сметана||120", "***"});
        EXPECT_FALSE(h.form->ForTests().TableModified());
    }
    GridView* Grid() const { return h.Find<GridView>("StringGrid1"); }
    bool Modified() const { return h.form->ForTests().TableModified(); }
    // Cells (c0, r0) .. (c1, r1) selected, the editor on the first.
    void Select(int c0, int r0, int c1, int r1) const {
        Focus(c0, r0);
        Grid()->selectionModel()->select(
            QItemSelection(Grid()->model()->index(r0 - 1, c0), Grid()->model()->index(r1 - 1, c1)),
            QItemSelectionModel::ClearAndSelect);
    }
    QString Note() const { return h.form->statusBar()->currentMessage(); }
};

const char* const kKinds[] = {"Button18", "Button17"};

TEST(GridEditing, CopyPutsTheSelectedBlockOnTheClipboardAndTheEditorKeepsItsOwnText) {
    for (const char* kind : kKinds) {
        SCOPED_TRACE(kind);
        ListWindow w(kind);
        const std::vector<QString> rows = w.Rows();
        w.Select(0, 2, 2, 4);
        w.Press(Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(),
                  QStringLiteral("4711\tМолоко\tсвежее\n3\tСметана\t\n***\t\t\n"));
        // One cell with part of its text selected copies that part, as any text field does.
        w.Focus(1, 2);
        w.Editor()->setSelection(0, 3);
        w.Press(Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Мол"));
        EXPECT_EQ(w.Rows(), rows);
    }
}

TEST(GridEditing, PasteFillsABlockAddsRowsBeforeTheMarkerAndUndoesInOneStep) {
    for (const char* kind : kKinds) {
        SCOPED_TRACE(kind);
        ListWindow w(kind);
        const QString titles = w.Titles();
        const std::vector<QString> before = w.Rows();
        w.Focus(7, 3);
        QApplication::clipboard()->setText(QStringLiteral("5\t6\t7\r\n8\t中\t9\r\n10\t11\t12\r\n"));
        w.Press(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(w.Rows(), (std::vector<QString>{"1|Сыр|Российский|250", "4711|Молоко|свежее|80",
                                                  "3|Сметана||120||||5|6", "|||||||8|?",
                                                  "|||||||10|11", "***"}));
        EXPECT_EQ(w.Titles(), titles);
        EXPECT_TRUE(w.Modified());
        EXPECT_EQ(w.Note(),
                  QStringLiteral("Вставлено строк: 3; столбцов за девятым не вставлено: 1"));
        w.Press(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(w.Rows(), before);
        EXPECT_FALSE(w.Modified()) << "back to the list as made";
        w.Press(Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(w.Rows().size(), before.size() + 2);
        EXPECT_TRUE(w.Modified());
    }
}

TEST(GridEditing, OneLineInTheEditorIsTheEditorsOwnPaste) {
    ListWindow w("Button18");
    w.Focus(1, 1);
    w.Editor()->setCursorPosition(0);
    QApplication::clipboard()->setText(QStringLiteral("Твёрдый "));
    w.Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.Rows()[0], QStringLiteral("1|Твёрдый Сыр|Российский|250"));
    EXPECT_EQ(w.Editor()->text(), QStringLiteral("Твёрдый Сыр"));
}

TEST(GridEditing, DeleteClearsASelectionButNotTheMarkerAndOneCellKeepsTheEditorsDelete) {
    for (const char* kind : kKinds) {
        SCOPED_TRACE(kind);
        ListWindow w(kind);
        w.Select(1, 2, 3, 4);
        w.Press(Qt::Key_Delete);
        EXPECT_EQ(w.Rows(), (std::vector<QString>{"1|Сыр|Российский|250", "4711", "3", "***"}));
        EXPECT_TRUE(w.Modified());
        w.Press(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(w.Rows()[1], QStringLiteral("4711|Молоко|свежее|80"));

        w.Focus(1, 1);
        w.Editor()->setCursorPosition(0);
        w.Press(Qt::Key_Delete);
        EXPECT_EQ(w.Rows()[0], QStringLiteral("1|ыр|Российский|250"));
        EXPECT_EQ(w.Rows().back(), QStringLiteral("***"));
    }
}

TEST(GridEditing, EveryEditAndRowCommandUndoesAndRedoesInOneStep) {
    struct Case {
        const char* name;
        std::function<void(ListWindow&)> edit;
    };
    const Case cases[] = {
        {"typing in a cell", [](ListWindow& w) { w.EditCell(1, 2, "Кефир"); }},
        {"Add", [](ListWindow& w) { w.Run("Button16"); }},
        {"Copy", [](ListWindow& w) { w.Run("Button15"); }},
        {"Ins", [](ListWindow& w) { w.Run("Button14"); }},
        {"Del", [](ListWindow& w) { w.Run("Button13"); }},
    };
    for (const char* kind : kKinds) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(kind) + ": " + c.name);
            ListWindow w(kind);
            w.Focus(2, 2);
            const std::vector<QString> before = w.Rows();
            c.edit(w);
            const std::vector<QString> after = w.Rows();
            ASSERT_NE(after, before);
            w.Press(Qt::Key_Z, Qt::ControlModifier);
            EXPECT_EQ(w.Rows(), before);
            EXPECT_FALSE(w.Modified());
            w.Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            EXPECT_EQ(w.Rows(), after);
            EXPECT_TRUE(w.Modified());
            w.Press(Qt::Key_Z, Qt::ControlModifier);
            w.Press(Qt::Key_Y, Qt::ControlModifier);
            EXPECT_EQ(w.Rows(), after);
        }
    }
}

TEST(GridEditing, TheStackStartsAnewWithEachListAndKnowsTheSavedState) {
    ListWindow w("Button18");
    w.EditCell(1, 1, "Брынза");
    w.h.dialogs->fileAnswers = {w.Path("saved.plu")};
    w.Run("Button19");
    EXPECT_FALSE(w.Modified());
    w.EditCell(1, 1, "Творог");
    w.Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Rows()[0], QStringLiteral("1|Брынза|Российский|250"));
    EXPECT_FALSE(w.Modified()) << "undone back to the file as saved";
    w.Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Rows()[0], QStringLiteral("1|Сыр|Российский|250"));
    EXPECT_TRUE(w.Modified()) << "before the save";

    // Nothing of the earlier list is undone into the next one.
    const std::pair<const char*, const char*> next[] = {
        {"Button17", nullptr}, {"Button20", "cyrillic.plu"}, {"ImportCsvItem", "dairy_tab.csv"}};
    for (const auto& [command, file] : next) {
        SCOPED_TRACE(command);
        w.EditCell(1, 1, "Творог");
        w.h.dialogs->promptAnswers = {Answer::No};
        if (file) w.h.dialogs->fileAnswers = {DataPath(file)};
        w.Run(command);
        const std::vector<QString> fresh = w.Rows();
        w.Press(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(w.Rows(), fresh);
    }
}

TEST(GridEditing, TypingInTheMiddleOfACellKeepsTheCursorThere) {
    ListWindow w("Button18");
    w.Focus(1, 1);
    w.Editor()->setCursorPosition(1);
    w.Type("ы");
    w.Type("р");
    EXPECT_EQ(w.Rows()[0], QStringLiteral("1|Сырыр|Российский|250"));
}

TEST(GridEditing, FindGoesToNumbersAndNamesRoundTheListAndSaysWhenNothingMatches) {
    for (const char* kind : kKinds) {
        SCOPED_TRACE(kind);
        ListWindow w(kind);
        const std::vector<QString> rows = w.Rows();
        QWidget* bar = w.h.Find("FindBar");
        auto* text = w.h.Find<QLineEdit>("FindText");
        const auto press = [](QWidget* to, Qt::Key key, Qt::KeyboardModifiers m = {}) {
            QKeyEvent event(QEvent::KeyPress, key, m);
            QApplication::sendEvent(to, &event);
        };
        const auto row = [&w] { return w.Grid()->currentIndex().row() + 1; };
        w.Focus(0, 1);
        ASSERT_TRUE(w.Key(Qt::Key_F, Qt::ControlModifier));
        ASSERT_TRUE(bar->isVisible());
        EXPECT_EQ(bar->geometry().top(), w.Grid()->geometry().bottom() + 1);
        text->setText(QStringLiteral("4711"));
        press(text, Qt::Key_Return);
        EXPECT_EQ(row(), 2);
        text->setText(QStringLiteral("СМЕТ"));
        press(text, Qt::Key_F3);
        EXPECT_EQ(row(), 3);
        EXPECT_EQ(w.Grid()->currentIndex().column(), 1);
        text->setText(QStringLiteral("с"));
        press(text, Qt::Key_F3, Qt::ShiftModifier);
        EXPECT_EQ(row(), 2) << "«свежее» before «Сметана»";
        w.Grid()->setFocus();
        ASSERT_TRUE(w.Key(Qt::Key_F3));
        EXPECT_EQ(row(), 3);
        text->setText(QStringLiteral("кефир"));
        press(text, Qt::Key_Return);
        EXPECT_EQ(row(), 3);
        EXPECT_EQ(w.h.Find<QLabel>("FindNote")->text(), QStringLiteral("не найдено"));
        EXPECT_EQ(w.Note(), QStringLiteral("не найдено"));
        press(text, Qt::Key_Escape);
        EXPECT_FALSE(bar->isVisible());
        EXPECT_EQ(w.Rows(), rows);
    }
}

TEST(GridEditing, TheStatusLineNamesTheListItsRecordsAndTheCurrentRow) {
    const struct {
        const char* kind;
        const char* text;
    } cases[] = {{"Button18", "Список PLU · записей: 4 · строка 3"},
                 {"Button17", "Список сообщений · записей: 4 · строка 3"}};
    for (const auto& c : cases) {
        ListWindow w(c.kind);
        w.Focus(0, 3);
        w.Run("Button16");
        EXPECT_EQ(w.h.Find<QLabel>("GridStatus")->text(), QString::fromUtf8(c.text));
    }
}

// Ctrl+F is the window's: it opens the find bar wherever the focus is, and what is typed next
// goes to the bar, not to the button or field that had the focus.
TEST(GridEditing, CtrlFOpensTheFindBarWhereverTheFocusIs) {
    const struct {
        const char* name;
        std::function<void(ListWindow&)> focus;
    } cases[] = {
        {"the cell editor", [](ListWindow& w) { w.Focus(0, 1); }},
        {"a button just pressed",
         [](ListWindow& w) {
             QTest::mouseClick(w.h.Find<QPushButton>("Button16"), Qt::LeftButton);
         }},
        {"the message line", [](ListWindow& w) { w.h.Find("Edit1")->setFocus(); }},
        {"the find bar itself",
         [](ListWindow& w) {
             ASSERT_TRUE(w.Key(Qt::Key_F, Qt::ControlModifier));
             QTest::keyClicks(w.h.Find("FindText"), QStringLiteral("123"));
         }},
    };
    for (const auto& c : cases) {
        ListWindow w("Button18");
        w.h.form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.h.form.get(), 2000)) << c.name;
        c.focus(w);
        const QWidget* before = QApplication::focusWidget();
        ASSERT_TRUE(w.Key(Qt::Key_F, Qt::ControlModifier)) << c.name;
        EXPECT_TRUE(w.h.Find("FindBar")->isVisible()) << c.name;
        auto* text = w.h.Find<QLineEdit>("FindText");
        EXPECT_EQ(QApplication::focusWidget(), text) << c.name;
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("4711"));
        ASSERT_TRUE(w.Key(Qt::Key_Return)) << c.name;
        EXPECT_EQ(text->text(), QStringLiteral("4711")) << c.name;
        EXPECT_EQ(w.Grid()->currentIndex().row() + 1, 2) << c.name;
        if (const auto* field = qobject_cast<const QLineEdit*>(before); field && field != text) {
            EXPECT_FALSE(field->text().contains(QStringLiteral("4711"))) << c.name;
        }
    }
    // With no list there is nothing to find.
    TableWindow none;
    ASSERT_TRUE(none.Key(Qt::Key_F, Qt::ControlModifier));
    EXPECT_FALSE(none.h.Find("FindBar")->isVisible());
    auto* item = none.h.Find<QAction>("FindItem");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->shortcut(), QKeySequence(QKeySequence::Find));
    EXPECT_EQ(item->shortcut().toString(), QStringLiteral("Ctrl+F"));
}

}  // namespace
