// What counts as the operator's edit, and how the grid presents and takes it.

#include <QFontMetrics>
#include <QHeaderView>

#include "GridView.h"
#include "TableWindow.h"

namespace {

// The window with a new PLU list, the editor on cell (1, 1) and the flag clear.
struct EditingWindow : TableWindow {
    EditingWindow() {
        Run("Button18");
        Focus(1, 1);
        EXPECT_FALSE(h.form->ForTests().TableModified());
    }
    QModelIndex Current() const { return h.Find<GridView>("StringGrid1")->currentIndex(); }
};

TEST(TableEditing, TypingBackToTheTextAndMovingTheEditorBothCountAsChanges) {
    struct Case {
        const char* name;
        std::function<void(EditingWindow&)> act;
        int col;  // the current cell afterwards, row 1
    };
    const Case cases[] = {
        {"typed and erased",
         [](EditingWindow& w) {
             w.Type("x");
             w.Press(Qt::Key_Backspace);
         },
         1},
        {"editor moved by the mouse", [](EditingWindow& w) { w.Focus(4, 1); }, 4},
        {"editor moved by Tab", [](EditingWindow& w) { w.Press(Qt::Key_Tab); }, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditingWindow w;
        const std::vector<QString> before = w.Rows();
        c.act(w);
        EXPECT_TRUE(w.h.form->ForTests().TableModified());
        EXPECT_EQ(w.Rows(), before);
        EXPECT_EQ(w.Current().row(), 0);
        EXPECT_EQ(w.Current().column(), c.col);
        ASSERT_NE(w.Editor(), nullptr);
    }
}

TEST(TableEditing, ProgramWritesLeaveTheFlagClearAndTheEditorWhereItWas) {
    EditingWindow w;
    w.Focus(2, 1);
    // The moved editor counts as an edit; a save clears it.
    w.h.dialogs->fileAnswers = {w.Path("edited.plu"), DataPath("cyrillic.plu")};
    w.Run("Button19");
    ASSERT_FALSE(w.h.form->ForTests().TableModified());
    for (const char* command : {"Button16", "Button15", "Button14", "Button13", "N7", "N8", "N9",
                                "N10", "Button17", "Button18", "Button20"}) {
        SCOPED_TRACE(command);
        w.Run(command);
        EXPECT_FALSE(w.h.form->ForTests().TableModified());
        EXPECT_EQ(w.Current().row(), 0);
        EXPECT_EQ(w.Current().column(), 2);
        EXPECT_NE(w.Editor(), nullptr);
    }
    EXPECT_EQ(w.h.form->ForTests().Grid().RowCount(), 4) << "the file was opened";
    EXPECT_TRUE(w.h.dialogs->Texts(BoxKind::Prompt).empty());
}

TEST(TableEditing, AddOnAFreshListLeavesNothingToSaveSoNothingAsks) {
    TableWindow w;
    w.Run("Button17");
    w.Run("Button16");
    EXPECT_FALSE(w.h.form->ForTests().TableModified());
    w.Run("Button18");
    w.Run("Button16");
    w.h.dialogs->fileAnswers = {std::nullopt};
    w.Run("Button20");
    EXPECT_TRUE(w.h.form->close());
    EXPECT_TRUE(w.h.dialogs->Texts(BoxKind::Prompt).empty());
}

TEST(TableEditing, CharactersCodePage1251CannotHoldBecomeQuestionMarksAsTheyAreTyped) {
    EditingWindow w;
    w.Type(QStringLiteral("Ёж 5€ 中文 №"));
    const QString held = QStringLiteral("Ёж 5€ ?? №");
    EXPECT_EQ(w.Rows()[0], "1|" + held + "||0|0|0|0|0|0");
    EXPECT_EQ(w.Editor()->text(), held);
    EXPECT_TRUE(w.h.form->ForTests().TableModified());
}

TEST(TableEditing, GridShowsTheTitlesAndKeepsTheWidthsTheOperatorSet) {
    TableWindow w;
    w.Run("Button18");
    GridView* grid = w.h.Find<GridView>("StringGrid1");
    const QFontMetrics metrics(grid->font());
    for (int c = 0; c < 9; ++c) {
        const QString title = grid->model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_GT(grid->columnWidth(c), metrics.horizontalAdvance(title)) << c;
    }
    const QString nameLine = QStringLiteral("Молоко Домик в деревне 3,2% ");
    for (int c : {1, 2}) EXPECT_GT(grid->columnWidth(c), metrics.horizontalAdvance(nameLine)) << c;
    EXPECT_EQ(grid->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Цена"));
    EXPECT_EQ(grid->font().family(), "Comic Sans MS");
    EXPECT_TRUE(grid->font().bold());
    EXPECT_EQ(grid->font().pixelSize(), 15);
    EXPECT_TRUE(grid->horizontalHeader()->sectionsMovable());

    const int numberWidth = grid->columnWidth(0);
    grid->setColumnWidth(1, 150);
    w.h.dialogs->fileAnswers = {DataPath("cyrillic.plu")};
    for (const char* command : {"Button17", "Button16", "Button13", "Button20"}) {
        w.Run(command);
        EXPECT_EQ(grid->columnWidth(1), 150) << command;
        EXPECT_EQ(grid->columnWidth(0), numberWidth) << command;
    }
}

TEST(TableEditing, ADraggedColumnTakesItsTitleAndCellsAndIsSavedWhereItNowStands) {
    TableWindow w;
    w.Run("Button18");
    w.EditCell(1, 1, "Bread");
    w.h.Find<GridView>("StringGrid1")->horizontalHeader()->moveSection(1, 3);
    EXPECT_EQ(w.Titles(), QStringLiteral("PLU|Вторая строка|Цена|Первая строка|Срок хранения|"
                                         "Вес тары|Код товара|Код группы|№ Сообщения"));
    EXPECT_EQ(w.Rows()[0], "1||0|Bread|0|0|0|0|0");
    w.h.dialogs->fileAnswers = {w.Path("moved.plu")};
    w.Run("Button19");
    EXPECT_EQ(FileBytes(w.Path("moved.plu")),
              "1\r\n\r\n0\r\nBread\r\n0\r\n0\r\n0\r\n0\r\n0\r\n***\r\n");
}

}  // namespace
