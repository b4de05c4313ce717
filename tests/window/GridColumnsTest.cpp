// Column widths: every title of both lists, a whole name line and the largest record number
// show without eliding; the grid scrolls sideways to the columns it cannot hold; the operator's
// widths last through an upload.

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>

#include "CodePage1251.h"
#include "GridModel.h"
#include "GridView.h"
#include "ScaleWindow.h"
#include "TableWindow.h"

namespace {

// What a column's cells need to show their text, as the view measures it.
int CellsNeed(const GridView* grid, int column) {
    return static_cast<const QAbstractItemView*>(grid)->sizeHintForColumn(column);
}

TEST(GridColumns, TitlesNameLinesAndNumbersShowWholeAndEveryColumnScrollsIntoView) {
    TableWindow w;
    GridView* grid = w.h.Find<GridView>("StringGrid1");
    for (const char* list : {"Button17", "Button18"}) {
        w.Run(list);
        for (int c = 0; c < tables::kColumns; ++c)
            EXPECT_GE(grid->columnWidth(c), grid->horizontalHeader()->sectionSizeHint(c))
                << list << " column " << c;
    }
    // Name lines as shops write them: mixed case, words, figures.
    std::vector<std::pair<int, QString>> cells = {{0, QStringLiteral("65535")}};
    for (const int c : {1, 2}) {
        for (const QString& line : {QStringLiteral("Молоко Домик в деревне 3,2% "),
                                    QStringLiteral("колбаса докторская вареная 1"),
                                    QStringLiteral("Сыр Российский весовой 45% в")})
            cells.emplace_back(c, line);
    }
    for (const auto& [column, text] : cells) {
        w.h.Model().SetCell(column, 1, tables::EncodeCp1251(text));
        EXPECT_GE(grid->columnWidth(column), CellsNeed(grid, column)) << text.toStdString();
    }
    w.h.Model().SetCell(1, 1, tables::EncodeCp1251(QString(28, QChar(u'Ш'))));
    EXPECT_LT(grid->columnWidth(1), CellsNeed(grid, 1)) << "the measure sees a wider line";

    QApplication::processEvents();
    EXPECT_TRUE(grid->horizontalScrollBar()->isVisible());
    for (int c = tables::kColumns - 1; c >= 0; --c) {
        grid->scrollTo(grid->model()->index(0, c));
        EXPECT_TRUE(grid->viewport()->rect().contains(grid->visualRect(grid->model()->index(0, c))))
            << c;
    }
}

TEST(GridColumns, TheOperatorsWidthsLastThroughAnUpload) {
    ScaleWindow w;
    sim::PluRecord stored;
    stored.plu = 1;
    w.scale.PutPlu(stored);
    GridView* grid = w.h.Find<GridView>("StringGrid1");
    for (int c = 0; c < tables::kColumns; ++c) grid->setColumnWidth(c, 60 + 10 * c);
    w.h.form->Button18Click();
    w.h.Click("Button22");
    ASSERT_EQ(w.h.form->ForTests().Grid().RowCount(), 3) << "one record came";
    for (int c = 0; c < tables::kColumns; ++c) EXPECT_EQ(grid->columnWidth(c), 60 + 10 * c) << c;
}

}  // namespace
