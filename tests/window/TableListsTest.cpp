// The new-list commands and their save prompt.

#include "TableWindow.h"

namespace {

const QString kPluTitles = QStringLiteral(
    "PLU|Первая строка|Вторая строка|Цена|Срок хранения|Вес тары|Код товара|Код группы|"
    "№ Сообщения");
const QString kMsgTitles = QStringLiteral(
    "MSG|Первая строка|Вторая строка|Третья строка|Четвертая строка|Пятая строка|"
    "Шестая строка|Седьмая строка|Восьмая строка");

struct ListCase {
    const char* button;
    const char* menuItem;
    bool plu;
    QString titles;
    QString row1;
    QString openFilter;
    QString saveFilter;
    QString suffix;
    QString prompt;
    // The file of a new list whose cell (1, 1) was typed as "Хлеб".
    std::string savedWithBread;
};

const ListCase kLists[] = {
    {"Button18", "PLU1", true, kPluTitles, "1|||0|0|0|0|0|0", "*.plu;*.plw|*.plu;*.plw",
     "*.plu|*.plu", "plu",
     QStringLiteral("Будет создан новый список товаров\r\nВ старой таблице  были изменения.\r\n"
                    "Сохранить ?"),
     "1\r\n\xd5\xeb\xe5\xe1\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n***\r\n"},
    {"Button17", "N2", false, kMsgTitles, "1", "*.msg|*.msg", "*.msg|*.msg", "msg",
     QStringLiteral("Будет создан новый список сообщений\r\nВ старой таблице  были изменения.\r\n"
                    "Сохранить ?"),
     "1\r\n\xd5\xeb\xe5\xe1\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n***\r\n"},
};

TEST(TableNewList, ButtonAndMenuItemBuildTheListCellByCellWithoutAsking) {
    for (const ListCase& before : kLists) {
        for (const ListCase& list : kLists) {
            for (const char* source : {list.button, list.menuItem}) {
                SCOPED_TRACE(std::string(before.button) + " then " + source);
                TableWindow w;
                w.Run(before.button);
                w.SetRows({"7|a|b|c|d|e|f|g|h", "8|x", "***", "9"});
                w.h.dialogs->fileAnswers = {w.Path("earlier.plu")};
                w.Run("Button19");
                ASSERT_EQ(w.h.form->ForTests().TableFileName(), w.Path("earlier.plu"));
                w.Run(source);
                TForm1& form = *w.h.form;
                EXPECT_EQ(w.Titles(), list.titles);
                EXPECT_EQ(w.Rows(), (std::vector<QString>{list.row1, "***"}));
                EXPECT_TRUE(form.ForTests().TableExists());
                EXPECT_EQ(form.ForTests().TableIsPlu(), list.plu);
                EXPECT_FALSE(form.ForTests().TableModified());
                EXPECT_TRUE(w.h.Find<QPushButton>("Button21")->isEnabled());
                EXPECT_EQ(w.h.Find<QPushButton>("Button22")->isEnabled(), list.plu);
                EXPECT_EQ(form.ForTests().OpenDialog1().filter, list.openFilter);
                EXPECT_EQ(form.ForTests().SaveDialog1().filter, list.saveFilter);
                EXPECT_EQ(form.ForTests().SaveDialog1().defaultSuffix, list.suffix);
                // The new list forgets the earlier file.
                EXPECT_EQ(form.ForTests().SaveDialog1().fileName, "noname1");
                EXPECT_TRUE(form.ForTests().TableFileName().isEmpty());
                EXPECT_TRUE(w.h.dialogs->boxes.empty());
            }
        }
    }
}

struct PromptCase {
    const char* name;
    Answer answer;
    bool dialogConfirmed;
    bool saveDialogShown;
    bool replaced;
};

const PromptCase kPromptCases[] = {
    {"Cancel", Answer::Cancel, false, false, false},
    {"No", Answer::No, false, false, true},
    // The list is kept when the save it asked for did not happen.
    {"Yes, dialog cancelled", Answer::Yes, false, true, false},
    {"Yes, dialog confirmed", Answer::Yes, true, true, true},
};

TEST(TableNewList, UnsavedEditsThroughEachAnswerOfThePrompt) {
    for (const ListCase& before : kLists) {
        for (const ListCase& list : kLists) {
            for (const PromptCase& c : kPromptCases) {
                SCOPED_TRACE(std::string(before.button) + " then " + list.button + ": " + c.name);
                TableWindow w;
                w.Run(before.button);
                w.EditCell(1, 1, QStringLiteral("Хлеб"));
                ASSERT_TRUE(w.h.form->ForTests().TableModified());
                const std::vector<QString> rowsBefore = w.Rows();
                const QString file = w.Path("saved");
                w.h.dialogs->promptAnswers = {c.answer};
                if (c.dialogConfirmed) w.h.dialogs->fileAnswers = {file};

                w.Run(list.button);
                TForm1& form = *w.h.form;
                EXPECT_EQ(w.h.dialogs->Texts(BoxKind::Prompt), std::vector<QString>{list.prompt});
                EXPECT_EQ(form.ForTests().SaveAnswer(), c.answer);
                ASSERT_EQ(w.h.dialogs->fileDialogs.size(), c.saveDialogShown ? 1u : 0u);
                if (c.saveDialogShown) {
                    const FileDialogRequest& asked = w.h.dialogs->fileDialogs[0].request;
                    EXPECT_TRUE(w.h.dialogs->fileDialogs[0].save);
                    EXPECT_EQ(asked.fileName, "noname1");
                    EXPECT_EQ(asked.filter, before.saveFilter);
                    EXPECT_EQ(asked.defaultSuffix, before.suffix);
                }
                EXPECT_EQ(FileBytes(file), c.dialogConfirmed ? before.savedWithBread : "<missing>");
                const ListCase& shown = c.replaced ? list : before;
                EXPECT_EQ(w.Titles(), shown.titles);
                EXPECT_EQ(form.ForTests().TableIsPlu(), shown.plu);
                EXPECT_EQ(form.ForTests().OpenDialog1().filter, shown.openFilter);
                EXPECT_EQ(form.ForTests().SaveDialog1().filter, shown.saveFilter);
                if (c.replaced)
                    EXPECT_EQ(w.Rows(), (std::vector<QString>{list.row1, "***"}));
                else
                    EXPECT_EQ(w.Rows(), rowsBefore);
                EXPECT_EQ(form.ForTests().TableModified(), !c.replaced);
                EXPECT_EQ(w.h.dialogs->Texts(BoxKind::Error), std::vector<QString>{});
            }
        }
    }
}

}  // namespace
