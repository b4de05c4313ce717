// Rows and columns dragged by the operator take their cells along, and an undo moves them back.

#include <gtest/gtest.h>

#include <QHeaderView>

#include "GridView.h"
#include "TableWindow.h"

namespace {

TEST(GridArrange, ADraggedColumnTakesItsTitleCellsAndWidth) {
    TableWindow w;
    w.Run("Button18");
    w.SetRows({"7|Сыр|кг|100|5|0|11|1|0", "***"});
    ASSERT_FALSE(w.h.form->ForTests().TableModified());
    const int priceWidth = w.h.Find<GridView>("StringGrid1")->columnWidth(3);
    w.h.Find<GridView>("StringGrid1")->horizontalHeader()->moveSection(3, 1);
    EXPECT_EQ(w.Rows(), (std::vector<QString>{QStringLiteral("7|100|Сыр|кг|5|0|11|1|0"), "***"}));
    EXPECT_TRUE(w.Titles().startsWith(QStringLiteral("PLU|Цена|Первая строка|Вторая строка")));
    EXPECT_EQ(w.h.Find<GridView>("StringGrid1")->columnWidth(1), priceWidth);
    EXPECT_EQ(w.h.Find<GridView>("StringGrid1")->horizontalHeader()->visualIndex(1), 1)
        << "the view keeps no reordering of its own: cells are read by position";
    EXPECT_TRUE(w.h.form->ForTests().TableModified());
    w.Focus(0, 1);
    w.Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Rows(), (std::vector<QString>{QStringLiteral("7|Сыр|кг|100|5|0|11|1|0"), "***"}));
    EXPECT_TRUE(w.Titles().startsWith(QStringLiteral("PLU|Первая строка|Вторая строка|Цена")));
}

TEST(GridArrange, ADraggedRowMovesWithItsCellsAndCountsAsAnEdit) {
    TableWindow w;
    w.Run("Button17");
    w.SetRows({"1|a", "2|b", "3|c", "***"});
    ASSERT_FALSE(w.h.form->ForTests().TableModified());
    w.h.Find<GridView>("StringGrid1")->verticalHeader()->moveSection(0, 2);
    EXPECT_EQ(w.Rows(), (std::vector<QString>{"2|b", "3|c", "1|a", "***"}));
    w.h.Find<GridView>("StringGrid1")->verticalHeader()->moveSection(3, 0);
    EXPECT_EQ(w.Rows(), (std::vector<QString>{"***", "2|b", "3|c", "1|a"}));
    EXPECT_TRUE(w.h.form->ForTests().TableModified());
    w.Focus(0, 1);
    w.Press(Qt::Key_Z, Qt::ControlModifier);
    w.Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.Rows(), (std::vector<QString>{"1|a", "2|b", "3|c", "***"}));
    w.Press(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(w.Rows(), (std::vector<QString>{"2|b", "3|c", "1|a", "***"}));
}

}  // namespace
