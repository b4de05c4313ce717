// "Импорт..." and "Импорт с выбором столбцов...": the choice of columns, asked when the header is
// new or when the operator wants it, remembered for the header once a file is taken.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "RememberedColumns.h"
#include "TableWindow.h"

namespace {

// An accounting export whose codes keep their leading zeros and whose prices are whole roubles:
// the guess takes the stock as the PLU and the price as kopecks.
const char* const kExport =
    "Код;Товар;Цена;Остаток\r\n"
    "0001;Молоко;54;10\r\n"
    "0002;Кефир;61;5\r\n";

const std::vector<QString> kKept = {"7|kept", "***"};

int RememberedFiles() {
    return static_cast<int>(
        QDir(jobs::RememberedColumnsDir()).entryList(QDir::Files | QDir::NoDotAndDotDot).size());
}

// A message list with one row, which an import must replace or keep.
void StartWithMessages(TableWindow& w) {
    w.Run("Button17");
    w.SetRows(kKept);
}

TEST(ImportDialog, ANewHeaderIsAskedAboutAndOkImportsAllOrNothingWhileCancelChangesNothing) {
    struct Case {
        const char* what;
        const char* fixture;  // empty: kExport
        std::optional<ColumnsAnswer> answer;
        BoxKind box;  // when one is shown
        QString says;
        std::vector<QString> rows;
    };
    const Case cases[] = {
        {"Код as the PLU, Цена in roubles",
         nullptr,
         ColumnsAnswer{true, {}, {}, 0, {{"Код", "plu"}, {"Цена", "price_rub"}, {"Остаток", ""}}},
         BoxKind::Plain,
         QStringLiteral("Импортировано строк: 2"),
         {"0001|Молоко||5400|0|0|0|0|0", "0002|Кефир||6100|0|0|0|0|0", "***"}},
        // OK on a choice the preview refuses: the import says the same, and takes nothing.
        {"two PLU columns", nullptr, ColumnsAnswer{true, {}, {}, 0, {{"Код", "plu"}}},
         BoxKind::Error, QStringLiteral("два столбца для «PLU»"), kKept},
        {"cancelled", nullptr, ColumnsAnswer{false, {}, {}, 0, {{"Код", "plu"}}}, {}, {}, kKept},
        {"no answer", nullptr, std::nullopt, {}, {}, kKept},
        {"rows that do not read", "price_list_utf8.csv",
         ColumnsAnswer{true, {}, {}, 0, {{"Цена", "price"}}}, BoxKind::Error,
         QStringLiteral("«Цена»: не число: «549,90»"), kKept},
    };
    for (const auto& c : cases) {
        TableWindow w;
        StartWithMessages(w);
        const QString file = c.fixture ? DataPath(c.fixture) : w.Path("export.csv");
        if (!c.fixture) WriteBytes(file, kExport);
        w.h.dialogs->fileAnswers = {file};
        if (c.answer) w.h.dialogs->columnsAnswers = {*c.answer};
        w.Run("ImportCsvItem");
        ASSERT_EQ(w.h.dialogs->columnsDialogs.size(), 1u) << c.what;
        const ShownColumnsDialog& shown = w.h.dialogs->columnsDialogs[0];
        EXPECT_EQ(shown.text && shown.delimiter == ';', true) << c.what;
        EXPECT_FALSE(shown.fromRemembered) << c.what;
        if (!c.fixture) {
            // Offered: the file's rows from its first line, and the guess read as it stands.
            EXPECT_EQ(shown.rows[1], (std::vector<std::string>{"0001", "Молоко", "54", "10"}));
            EXPECT_EQ(shown.headerLine, 1);
            EXPECT_EQ(shown.targets, (std::vector<std::string>{"", "name", "price", "plu"}));
            ASSERT_EQ(shown.offered.rows.size(), 2u);
            EXPECT_EQ(shown.offered.rows[0].cells[0], "10");
        }
        const bool taken = c.box == BoxKind::Plain && !c.says.isEmpty();
        EXPECT_EQ(w.Rows(), c.rows) << c.what;
        EXPECT_EQ(w.Titles().startsWith("PLU|"), taken) << c.what;
        EXPECT_EQ(RememberedFiles(), taken ? 1 : 0) << c.what;
        EXPECT_FALSE(w.h.form->ForTests().TableModified()) << c.what;
        if (c.says.isEmpty()) {
            EXPECT_TRUE(w.h.dialogs->boxes.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(w.h.dialogs->boxes.size(), 1u) << c.what;
        EXPECT_EQ(w.h.dialogs->boxes[0].kind, c.box) << c.what;
        EXPECT_TRUE(w.h.dialogs->boxes[0].text.contains(c.says))
            << c.what << ": " << w.h.dialogs->boxes[0].text.toStdString();
    }
}

TEST(ImportDialog, ARememberedChoiceIsReusedWithNoDialogAndOnlyTheOtherItemAsksAgain) {
    struct Step {
        const char* item;
        const char* fixture;
        std::optional<ColumnsAnswer> answer;
        bool asked;
        bool fromRemembered;  // when asked
        bool taken;
    };
    const ColumnsAnswer ok{true, {}, {}, 0, {}};
    const ColumnsAnswer cancel{false, {}, {}, 0, {}};
    const Step steps[] = {
        {"ImportCsvItem", "price_list.xlsx", ok, true, false, true},
        // The same export tomorrow, as a workbook or as text: taken at once.
        {"ImportCsvItem", "price_list.ods", std::nullopt, false, false, true},
        {"ImportCsvItem", "price_list_cp1251.csv", std::nullopt, false, false, true},
        // Asked for, the dialog starts from what was remembered; Cancel keeps the table.
        {"ImportColumnsItem", "price_list.xls", cancel, true, true, false},
        // A file whose titles known to lists say everything is still shown when asked.
        {"ImportColumnsItem", "goods_cp1251.csv", ok, true, false, true},
        // Another header is new.
        {"ImportCsvItem", "formula.xlsx", cancel, true, false, false},
    };
    TableWindow w;
    StartWithMessages(w);
    std::size_t asked = 0;
    for (const auto& s : steps) {
        const std::vector<QString> before = w.Rows();
        w.h.dialogs->boxes.clear();
        w.h.dialogs->fileAnswers = {DataPath(s.fixture)};
        if (s.answer) w.h.dialogs->columnsAnswers = {*s.answer};
        w.Run(s.item);
        asked += s.asked;
        ASSERT_EQ(w.h.dialogs->columnsDialogs.size(), asked) << s.fixture;
        w.h.dialogs->columnsAnswers.clear();
        if (s.asked) {
            EXPECT_EQ(w.h.dialogs->columnsDialogs.back().fromRemembered, s.fromRemembered)
                << s.fixture;
        }
        if (!s.taken) {
            EXPECT_EQ(w.Rows(), before) << s.fixture;
            EXPECT_TRUE(w.h.dialogs->boxes.empty()) << s.fixture;
            continue;
        }
        ASSERT_EQ(w.h.dialogs->Texts(BoxKind::Plain).size(), 1u) << s.fixture;
        EXPECT_TRUE(w.h.dialogs->Texts(BoxKind::Plain)[0].startsWith(
            QStringLiteral("Импортировано строк: ")))
            << s.fixture;
        EXPECT_EQ(w.Rows().back(), "***");
    }
    EXPECT_EQ(w.Rows().front(),
              QStringLiteral("1|Хлеб \"Бородинский\"; нарезка||4550|3|0|1000011|0|0"));
}

}  // namespace
