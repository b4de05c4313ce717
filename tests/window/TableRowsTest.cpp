// Add, Copy, Ins and Del through the window's buttons and menu items, at the grid's current row.

#include "TableWindow.h"

namespace {

const std::vector<QString> kOneTwoThree = {"1|a", "2|b", "3|c", "***"};

struct RowCase {
    const char* command;
    int current;  // table row of the current cell
    std::vector<QString> before;
    std::vector<QString> after;
};

const RowCase kRowCases[] = {
    {"Button16", 1, kOneTwoThree, {"1|a", "2|b", "3|c", "", "***"}},
    {"Button16", 4, kOneTwoThree, {"1|a", "2|b", "3|c", "", "***"}},
    {"Button15", 1, kOneTwoThree, {"1|a", "1|a", "2|b", "3|c", "***"}},
    {"Button15", 2, kOneTwoThree, {"1|a", "2|b", "2|b", "3|c", "***"}},
    {"Button15", 3, kOneTwoThree, {"1|a", "2|b", "3|c", "3|c", "***"}},
    {"Button14", 1, kOneTwoThree, {"1|a", "", "2|b", "3|c", "***"}},
    {"Button14", 2, kOneTwoThree, {"1|a", "2|b", "", "3|c", "***"}},
    {"Button14", 3, kOneTwoThree, {"1|a", "2|b", "3|c", "", "***"}},
    {"Button13", 1, kOneTwoThree, {"2|b", "3|c", "***"}},
    {"Button13", 2, kOneTwoThree, {"1|a", "3|c", "***"}},
    {"Button13", 3, kOneTwoThree, {"1|a", "2|b", "***"}},
    // The end-marker row current: Del takes the last data row, Ins puts the empty row after the
    // marker, Copy leaves two markers.
    {"Button13", 4, kOneTwoThree, {"1|a", "2|b", "***"}},
    {"Button14", 4, kOneTwoThree, {"1|a", "2|b", "3|c", "***", ""}},
    {"Button15", 4, kOneTwoThree, {"1|a", "2|b", "3|c", "***", "***"}},
    // Three grid rows: what row 1 held is gone, zeros included.
    {"Button13", 1, {"5|x|y|0|0|0|0|0|0", "***"}, {"1", "***"}},
    {"Button13", 2, {"5|x|y|0|0|0|0|0|0", "***"}, {"1", "***"}},
    // Two grid rows grow to three.
    {"Button13", 1, {"***"}, {"1", "***"}},
};

TEST(TableRowCommands, EachExampleAtTheCurrentRowThroughTheButtons) {
    for (const RowCase& c : kRowCases) {
        SCOPED_TRACE(std::string(c.command) + " at row " + std::to_string(c.current) + " of " +
                     std::to_string(c.before.size() + 1) + " rows");
        TableWindow w;
        w.Run("Button17");
        w.SetRows(c.before);
        w.Focus(3, c.current);
        EXPECT_FALSE(w.h.form->ForTests().TableModified());
        w.Run(c.command);
        EXPECT_EQ(w.Rows(), c.after);
        EXPECT_FALSE(w.h.form->ForTests().TableModified());
        EXPECT_TRUE(w.h.dialogs->boxes.empty());
    }
}

TEST(TableRowCommands, TableMenuItemsRunTheButtonsCommands) {
    const std::pair<const char*, const char*> items[] = {
        {"N7", "Button16"}, {"N8", "Button15"}, {"N9", "Button14"}, {"N10", "Button13"}};
    for (const auto& [item, button] : items) {
        SCOPED_TRACE(item);
        std::vector<std::vector<QString>> results;
        for (const char* command : {item, button}) {
            TableWindow w;
            w.Run("Button18");
            w.SetRows(kOneTwoThree);
            w.Focus(0, 2);
            w.Run(command);
            results.push_back(w.Rows());
        }
        EXPECT_EQ(results[0], results[1]);
        EXPECT_NE(results[0], kOneTwoThree);
    }
}

TEST(TableRowCommands, RepeatedDelKeepsActingAtTheSameRow) {
    TableWindow w;
    w.Run("Button17");
    w.SetRows({"1", "2", "3", "4", "5", "***"});
    w.Focus(0, 2);
    w.Run("Button13");
    w.Run("Button13");
    EXPECT_EQ(w.Rows(), (std::vector<QString>{"1", "4", "5", "***"}));
}

}  // namespace
