// The download's row check: what converts, what fits its field, and which cell fails first.

#include <gtest/gtest.h>

#include "RowValidation.h"

using namespace scale;

namespace {

using Cells = std::array<std::string, 9>;

// PLU 1, "Сыр", no second line, price 12345, shelf life 5, tare 0, item 123, group 1, message 0.
Cells GoodPlu() {
    return {"1", "\xD1\xFB\xF0", "", "12345", "5", "0", "123", "1", "0"};
}

TEST(RowValidation, GoodPluRowGivesItsRecord) {
    const RowCheck check = ValidateRow(GoodPlu(), RowKind::Plu);
    ASSERT_TRUE(check.ok());
    EXPECT_EQ(check.plu.plu, 1);
    EXPECT_EQ(check.plu.name1, "\xD1\xFB\xF0");
    EXPECT_EQ(check.plu.name2, "");
    EXPECT_EQ(check.plu.price, 12345);
    EXPECT_EQ(check.plu.shelfLife, 5);
    EXPECT_EQ(check.plu.tare, 0);
    EXPECT_EQ(check.plu.itemCode, 123);
    EXPECT_EQ(check.plu.group, 1);
    EXPECT_EQ(check.plu.message, 0);
}

struct CellCase {
    int column;
    const char* text;
    RowProblem problem;  // None: the row passes
};

TEST(RowValidation, EachCellAgainstItsField) {
    const CellCase cases[] = {
        {0, "65535", RowProblem::None},         {0, "65536", RowProblem::BadCell},
        {0, "70000", RowProblem::BadCell},      {0, "-1", RowProblem::BadCell},
        {0, "***", RowProblem::BadCell},        {0, " 12", RowProblem::None},
        {0, "12 ", RowProblem::BadCell},        {0, "$1F", RowProblem::None},
        {0, "", RowProblem::BadCell},           {3, "2147483647", RowProblem::None},
        {3, "2147483648", RowProblem::BadCell}, {3, "-1", RowProblem::BadCell},
        {3, "$FFFFFFFF", RowProblem::BadCell},  {4, "0", RowProblem::None},
        {4, "366", RowProblem::None},           {4, "367", RowProblem::BadShelfLife},
        {4, "-5", RowProblem::BadShelfLife},    {4, "x", RowProblem::BadCell},
        {5, "abc", RowProblem::BadCell},        {5, "65535", RowProblem::None},
        {5, "65536", RowProblem::BadCell},      {6, "2147483647", RowProblem::None},
        {6, "-7", RowProblem::BadCell},         {7, "65536", RowProblem::BadCell},
        {8, "65535", RowProblem::None},         {8, "-1", RowProblem::BadCell},
    };
    for (const auto& c : cases) {
        Cells cells = GoodPlu();
        cells[c.column] = c.text;
        const RowCheck check = ValidateRow(cells, RowKind::Plu);
        EXPECT_EQ(check.problem, c.problem) << c.column << " '" << c.text << "'";
        if (c.problem != RowProblem::None) {
            EXPECT_EQ(check.column, c.column) << c.text;
        }
    }
}

TEST(RowValidation, NameLinesAreNeverChecked) {
    Cells cells = GoodPlu();
    cells[1] = "***";
    cells[2] = std::string(60, 'x');
    EXPECT_TRUE(ValidateRow(cells, RowKind::Plu).ok());
}

TEST(RowValidation, FirstBadCellInColumnOrderAndShelfLifeRangeLast) {
    Cells cells = GoodPlu();
    cells[8] = "x";
    cells[5] = "y";
    EXPECT_EQ(ValidateRow(cells, RowKind::Plu).column, 5);
    // A shelf life out of range yields to a bad cell to its right.
    cells = GoodPlu();
    cells[4] = "400";
    cells[7] = "z";
    const RowCheck check = ValidateRow(cells, RowKind::Plu);
    EXPECT_EQ(check.problem, RowProblem::BadCell);
    EXPECT_EQ(check.column, 7);
}

TEST(RowValidation, MessageRowChecksItsNumberOnly) {
    const struct {
        const char* number;
        bool ok;
    } cases[] = {{"1", true},   {"0", true},    {"65535", true}, {"65536", false},
                 {"-1", false}, {"abc", false}, {"", false}};
    for (const auto& c : cases) {
        const Cells cells = {c.number, "", "x", "***", "", "", "", "", ""};
        const RowCheck check = ValidateRow(cells, RowKind::Message);
        EXPECT_EQ(check.ok(), c.ok) << c.number;
        if (c.ok) {
            EXPECT_EQ(check.messageNumber, std::stoi(c.number));
        } else {
            EXPECT_EQ(check.column, 0);
        }
    }
}

}  // namespace
