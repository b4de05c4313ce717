// "Импорт..." and "Экспорт..." through the window's menu.

#include <gtest/gtest.h>

#include "CsvImport.h"
#include "TableWindow.h"

namespace {

TEST(CsvWindow, AnImportReplacesTheTableWithTheFilesListOrLeavesItAsItWas) {
    struct Case {
        const char* fixture;
        bool taken;
        QString firstRow;  // when taken
        QString says;
    };
    const Case cases[] = {
        {"goods_cp1251.csv", true,
         QStringLiteral("1|Хлеб \"Бородинский\"; нарезка||4550|3|0|1000011|0|0"),
         QStringLiteral("Импортировано строк: 4")},
        {"shop_utf8_bom.csv", true, {}, QStringLiteral("Импортировано строк")},
        {"duplicate_plu.csv", false, {}, QStringLiteral("уже есть в строке")},
        {"price_three_decimals.csv", false, {}, {}},
    };
    for (const auto& c : cases) {
        TableWindow w;
        w.Run("Button17");  // a message list the import must replace or keep
        w.SetRows({"7|kept", "***"});
        w.h.dialogs->fileAnswers = {DataPath(c.fixture)};
        w.Run("ImportCsvItem");
        ASSERT_EQ(w.h.dialogs->boxes.size(), 1u) << c.fixture;
        const ShownBox& box = w.h.dialogs->boxes[0];
        EXPECT_EQ(box.kind, c.taken ? BoxKind::Plain : BoxKind::Error) << c.fixture;
        EXPECT_TRUE(box.text.contains(c.says)) << c.fixture << ": " << box.text.toStdString();
        if (!c.taken) {
            EXPECT_EQ(w.Rows(), (std::vector<QString>{"7|kept", "***"})) << c.fixture;
            continue;
        }
        EXPECT_TRUE(w.Titles().startsWith("PLU|")) << c.fixture;
        EXPECT_EQ(w.Rows().back(), "***") << c.fixture;
        if (!c.firstRow.isEmpty()) {
            EXPECT_EQ(w.Rows().front(), c.firstRow) << c.fixture;
        }
        EXPECT_TRUE(w.h.Find<QPushButton>("Button22")->isEnabled()) << c.fixture;
        EXPECT_FALSE(w.h.form->ForTests().TableModified()) << c.fixture;
    }
}

TEST(CsvWindow, AWorkbookImportsWithTheChoiceRememberedForItsHeaderAndOnlyWithIt) {
    struct Case {
        const char* fixture;
        bool remembered;
        QString says;  // empty: the choice of columns is asked, and cancelled
    };
    const Case cases[] = {
        {"price_list.xlsx", true, QStringLiteral("Импортировано строк: 3")},
        {"price_list.ods", true, QStringLiteral("Импортировано строк: 3")},
        {"price_list.xls", false, {}},
    };
    for (const auto& c : cases) {
        TableWindow w;
        w.Run("Button17");
        w.SetRows({"7|kept", "***"});
        if (c.remembered) {
            jobs::ImportOptions remember;
            std::string error;
            remember.columns =
                tables::ParseColumnChoice("Код=plu,Наименование=name,Цена=price_rub", error);
            remember.remember = true;
            ASSERT_TRUE(jobs::ImportListFile(DataPath("price_list_utf8.csv"), remember).Imported());
        }
        w.h.dialogs->fileAnswers = {DataPath(c.fixture)};
        w.Run("ImportCsvItem");
        EXPECT_EQ(w.h.dialogs->columnsDialogs.size(), c.remembered ? 0u : 1u) << c.fixture;
        ASSERT_EQ(w.h.dialogs->boxes.size(), c.remembered ? 1u : 0u) << c.fixture;
        if (c.remembered) {
            EXPECT_TRUE(w.h.dialogs->boxes[0].text.contains(c.says))
                << c.fixture << ": " << w.h.dialogs->boxes[0].text.toStdString();
        }
        const std::vector<QString> rows =
            c.remembered
                ? std::vector<QString>{"1|Молоко 3,2% 1 л||54990|0|0|0|0|0",
                                       "2|Хлеб бородинский||54990|0|0|0|0|0",
                                       "17|Сыр российский весовой|выдержанный 45%|6500|0|0|0|0|0",
                                       "***"}
                : std::vector<QString>{"7|kept", "***"};
        EXPECT_EQ(w.Rows(), rows) << c.fixture;
    }
}

TEST(CsvWindow, UnsavedEditsAreAskedAboutFirstAndCancelKeepsEverything) {
    TableWindow w;
    w.Run("Button18");
    w.EditCell(1, 1, QStringLiteral("Сыр"));
    w.h.dialogs->promptAnswers = {Answer::Cancel};
    w.Run("ImportCsvItem");
    EXPECT_EQ(w.h.dialogs->Texts(BoxKind::Prompt).size(), 1u);
    EXPECT_TRUE(w.h.dialogs->fileDialogs.empty());
    EXPECT_EQ(w.Rows().front(), QStringLiteral("1|Сыр||0|0|0|0|0|0"));
}

TEST(CsvWindow, TheImportOffersEveryKindOfPriceListFirstAndThenEachKind) {
    TableWindow w;
    w.Run("ImportCsvItem");
    w.Run("ImportColumnsItem");
    ASSERT_EQ(w.h.dialogs->fileDialogs.size(), 2u);
    for (const ShownFileDialog& shown : w.h.dialogs->fileDialogs) {
        const QStringList parts = shown.request.filter.split('|');
        ASSERT_GE(parts.size(), 2);
        QStringList each;
        for (int i = 3; i < parts.size(); i += 2) each << parts[i];
        EXPECT_EQ(parts[1].split(';'), each.mid(0, each.size() - 1)) << "all, then one by one";
        for (const char* kind : {"*.csv", "*.xlsx", "*.ods", "*.xls"})
            EXPECT_TRUE(each.contains(QString::fromLatin1(kind))) << kind;
    }
}

TEST(CsvWindow, AnExportAsAWorkbookReadsBackAsTheSameList) {
    TableWindow w;
    w.Run("Button18");
    w.EditCell(1, 1, QStringLiteral("Сыр; твёрдый"));
    const QString path = w.Path("out.xlsx");
    w.h.dialogs->fileAnswers = {path};
    w.h.dialogs->filterAnswers = {2};
    w.Run("ExportCsvItem");
    EXPECT_TRUE(w.h.dialogs->boxes.empty());
    EXPECT_EQ(FileBytes(path).substr(0, 4), std::string("PK\x03\x04", 4));
    const jobs::ImportReport back = jobs::ImportListFile(path);
    ASSERT_TRUE(back.Imported()) << jobs::ReportText(back);
    ASSERT_EQ(back.rows.size(), 2u);
    EXPECT_EQ(back.rows[0][1], Cp1251(QStringLiteral("Сыр; твёрдый")));
    EXPECT_TRUE(w.h.form->ForTests().TableModified());
}

TEST(CsvWindow, AnExportWritesTheChosenEncodingAndChangesNothingInTheWindow) {
    struct Case {
        int filter;
        std::string start;
    };
    const Case cases[] = {
        {0, "\xEF\xBB\xBFPLU;\xD0\x9F"},  // UTF-8 with its mark: "PLU;П"
        {1, "PLU;\xCF"},                  // code page 1251: "PLU;П"
    };
    for (const auto& c : cases) {
        TableWindow w;
        w.Run("Button18");
        w.EditCell(1, 1, QStringLiteral("Сыр; твёрдый"));
        const QString path = w.Path("out.csv");
        w.h.dialogs->fileAnswers = {path};
        w.h.dialogs->filterAnswers = {c.filter};
        w.Run("ExportCsvItem");
        const std::string bytes = FileBytes(path);
        EXPECT_EQ(bytes.substr(0, c.start.size()), c.start) << c.filter;
        EXPECT_NE(bytes.find(c.filter == 0 ? "\"\xD0\xA1\xD1\x8B\xD1\x80; " : "\"\xD1\xfb\xf0; "),
                  std::string::npos)
            << "the name with its ; is quoted";
        EXPECT_TRUE(w.h.form->ForTests().TableModified()) << "an export is no save of the list";
        EXPECT_TRUE(w.h.dialogs->boxes.empty());
    }
}

TEST(CsvWindow, AnExportThatCannotBeWrittenSaysWhyAndBeforeAListThereIsNothingToExport) {
    TableWindow w;
    w.Run("ExportCsvItem");
    EXPECT_EQ(w.h.dialogs->Texts(BoxKind::Plain),
              std::vector<QString>{QStringLiteral("Было бы, что сохранять...")});
    w.Run("Button18");
    const QString path = w.Path("no-such-folder/out.csv");
    w.h.dialogs->fileAnswers = {path};
    w.Run("ExportCsvItem");
    ASSERT_EQ(w.h.dialogs->Texts(BoxKind::Error).size(), 1u);
    EXPECT_TRUE(w.h.dialogs->Texts(BoxKind::Error)[0].contains(path));
    EXPECT_EQ(FileBytes(path), "<missing>");
}

}  // namespace
