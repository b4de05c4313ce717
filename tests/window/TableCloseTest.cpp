// Closing the window with and without unsaved edits.

#include "TableWindow.h"

namespace {

const QString kPrompt = QStringLiteral("В таблице были изменения.\r\nСохранить ?");

TEST(TableClose, WithoutEditsClosesWithoutAsking) {
    for (const char* way : {"Button25", "N5", "close box"}) {
        SCOPED_TRACE(way);
        TableWindow w;
        w.Run("Button18");
        if (std::string(way) == "close box")
            w.h.form->close();
        else
            w.Run(way);
        EXPECT_FALSE(w.h.form->isVisible());
        EXPECT_TRUE(w.h.dialogs->boxes.empty());
    }
}

TEST(TableClose, UnsavedEditsThroughEachAnswer) {
    struct Case {
        const char* name;
        Answer answer;
        std::optional<QString> file;
        bool closes;
    };
    const Case cases[] = {
        {"No", Answer::No, std::nullopt, true},
        {"Cancel", Answer::Cancel, std::nullopt, false},
        {"Yes, dialog confirmed", Answer::Yes, QString("list.plu"), true},
        // The edits are not thrown away.
        {"Yes, dialog cancelled", Answer::Yes, std::nullopt, false},
    };
    for (const Case& c : cases) {
        for (const char* way : {"Button25", "N5", "close box"}) {
            SCOPED_TRACE(std::string(c.name) + " by " + way);
            TableWindow w;
            w.Run("Button18");
            // An earlier confirmed save: the close still shows the dialog.
            w.h.dialogs->fileAnswers = {w.Path("earlier.plu")};
            w.Run("Button19");
            w.EditCell(1, 1, "Jam");
            const std::vector<QString> before = w.Rows();
            w.h.dialogs->promptAnswers = {c.answer};
            w.h.dialogs->fileAnswers = {c.file ? std::optional(w.Path("list.plu")) : std::nullopt};
            if (std::string(way) == "close box")
                w.h.form->close();
            else
                w.Run(way);
            EXPECT_EQ(w.h.dialogs->Texts(BoxKind::Prompt), std::vector<QString>{kPrompt});
            EXPECT_EQ(w.h.form->ForTests().SaveAnswer(), c.answer);
            EXPECT_EQ(w.h.dialogs->fileDialogs.size(), c.answer == Answer::Yes ? 2u : 1u);
            EXPECT_EQ(w.h.form->isVisible(), !c.closes);
            EXPECT_EQ(
                FileBytes(w.Path("list.plu")),
                c.file ? "1\r\nJam\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n***\r\n" : "<missing>");
            EXPECT_EQ(FileBytes(w.Path("earlier.plu")),
                      "1\r\n\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n***\r\n");
            if (!c.closes) {
                EXPECT_TRUE(w.h.form->ForTests().TableModified());
                EXPECT_EQ(w.Rows(), before);
            }
        }
    }
}

}  // namespace
