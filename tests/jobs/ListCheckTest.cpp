#include <gtest/gtest.h>

#include "ListCheck.h"

namespace jobs {
namespace {

tables::Row Plu(const char* number, const char* price = "100") {
    return {number, "", "", price, "5", "0", "1", "1", "0"};
}

tables::Row Message(const char* number) {
    return {number};
}

// "row column: reason" for each problem.
std::vector<std::string> Problems(const std::vector<tables::Row>& rows, tables::ListKind kind,
                                  Duplicates duplicates) {
    std::vector<int> numbers;
    for (std::size_t i = 0; i < rows.size(); ++i) numbers.push_back(10 * static_cast<int>(i + 1));
    std::vector<std::string> problems;
    for (const ListProblem& p : CheckListRows(rows, numbers, kind, duplicates))
        problems.push_back(std::to_string(p.row) + " " + std::to_string(p.column) + ": " +
                           p.reason);
    return problems;
}

TEST(ListCheck, ANumberTakenByAnEarlierRowIsRefusedWhenAsked) {
    const auto plu = tables::ListKind::Plu, msg = tables::ListKind::Msg;
    const auto refuse = Duplicates::Refused, allow = Duplicates::Allowed;
    struct Case {
        const char* what;
        std::vector<tables::Row> rows;
        tables::ListKind kind;
        Duplicates duplicates;
        std::vector<std::string> problems;
    };
    const Case cases[] = {
        {"one number written three ways",
         {Plu("17"), Plu("017"), Plu(" $11")},
         plu,
         refuse,
         {"20 0: PLU 17 уже есть в строке 10", "30 0: PLU 17 уже есть в строке 10"}},
        {"allowed", {Plu("17"), Plu("17")}, plu, allow, {}},
        {"a row bad elsewhere holds its number",
         {Plu("5", "x"), Plu("5")},
         plu,
         refuse,
         {"10 3: не число: «x»", "20 0: PLU 5 уже есть в строке 10"}},
        {"no number holds nothing", {Plu("5x"), Plu("5")}, plu, refuse, {"10 0: не число: «5x»"}},
        {"messages",
         {Message("3"), Message("4"), Message("3")},
         msg,
         refuse,
         {"30 0: сообщение 3 уже есть в строке 10"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Problems(c.rows, c.kind, c.duplicates), c.problems) << c.what;
}

}  // namespace
}  // namespace jobs
