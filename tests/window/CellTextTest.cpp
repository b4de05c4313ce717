// What a cell holds after the operator pastes into it or the editor passes over it, as the
// saved file shows it.

#include <QApplication>
#include <QClipboard>

#include "TableWindow.h"

namespace {

TEST(CellText, APastedLineBreakBecomesASpaceAndTheFileKeepsItsShape) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("Молоко\nсвежее"), QStringLiteral("Молоко свежее")},
        {QStringLiteral("Молоко\r\nсвежее"), QStringLiteral("Молоко свежее")},
        {QStringLiteral("Молоко\rсвежее\n"), QStringLiteral("Молоко свежее ")},
        {QStringLiteral("\n\nМолоко"), QStringLiteral("  Молоко")},
    };
    for (const auto& [pasted, held] : cases) {
        SCOPED_TRACE(pasted.toStdString());
        TableWindow w;
        w.Run("Button18");
        w.Focus(1, 1);
        QApplication::clipboard()->setText(pasted);
        ASSERT_NE(w.Editor(), nullptr);
        w.Editor()->paste();
        EXPECT_EQ(w.Editor()->text(), held);
        w.Focus(3, 1);
        w.h.dialogs->fileAnswers = {w.Path("pasted.plu")};
        w.Run("Button19");
        EXPECT_EQ(FileBytes(w.Path("pasted.plu")),
                  "1\r\n" + Cp1251(held) + "\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n***\r\n");
    }
}

// A file made by another program may hold cells longer than a line editor holds: such a cell
// shows its start, takes no typing, and stays whole.
TEST(CellText, TheEditorPassingOverALongCellLeavesItWhole) {
    const int editable = 32767;
    for (const int length : {editable, editable + 1, 100000}) {
        SCOPED_TRACE(length);
        TableWindow w;
        const std::string longCell(static_cast<std::size_t>(length), 'x');
        const std::string file =
            "1\r\n" + longCell + "\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n***\r\n";
        WriteBytes(w.Path("long.plu"), file);
        w.Run("Button18");
        w.h.dialogs->fileAnswers = {w.Path("long.plu")};
        w.Run("Button20");
        w.Focus(1, 1);
        ASSERT_NE(w.Editor(), nullptr);
        EXPECT_EQ(w.Editor()->text().size(), editable);
        EXPECT_EQ(w.Editor()->isReadOnly(), length > editable);
        w.Focus(2, 1);
        w.Focus(1, 1);
        if (length > editable) w.Type("y");
        w.Focus(0, 1);
        EXPECT_EQ(w.h.form->ForTests().Grid().Cell(1, 1), longCell);
        w.h.dialogs->fileAnswers = {w.Path("long.plu")};
        w.Run("Button19");
        EXPECT_EQ(FileBytes(w.Path("long.plu")), file);
    }
}

}  // namespace
