// The real choice of columns, shown offscreen and worked as the operator works it: combos chosen,
// then OK or Cancel.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <functional>

#include "ColumnsDialog.h"
#include "Dialogs.h"
#include "ImportChoice.h"
#include "TableWindow.h"
#include "TempConfig.h"

namespace {

const char* const kExport =
    "Код;Товар;Цена;Остаток\r\n"
    "0001;Молоко;54;10\r\n"
    "0002;Кефир;61;5\r\n";

// Picks the item whose data is value, as a click on it does.
void Pick(QComboBox* box, const QVariant& value) {
    ASSERT_NE(box, nullptr);
    const int index = box->findData(value);
    ASSERT_GE(index, 0) << value.toString().toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
}

QComboBox* Target(QWidget* dialog, int column) {
    return dialog->findChild<QComboBox*>(QStringLiteral("ColumnTarget%1").arg(column));
}

QString PreviewCell(QWidget* dialog, int row, int column) {
    auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("PreviewRows"));
    QTableWidgetItem* item = table ? table->item(row, column) : nullptr;
    return item ? item->text() : QStringLiteral("<none>");
}

// Works the dialog QtDialogs opens once it is up; a dialog still open after a few seconds is
// closed, so a lost one fails the test instead of hanging it.
bool ChooseWith(jobs::ImportChoice& choice, const std::function<void(QDialog*)>& work,
                bool& reached) {
    QWidget parent;
    QtDialogs dialogs(&parent, QStringLiteral("qvscale"));
    reached = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != QStringLiteral("ColumnsDialog")) return;
        reached = true;
        work(dialog);
    });
    QTimer::singleShot(5000, [] {
        if (QWidget* open = QApplication::activeModalWidget()) open->close();
    });
    return dialogs.ChooseColumns(choice);
}

void Press(QDialog* dialog, QDialogButtonBox::StandardButton which) {
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    buttons->button(which)->click();
}

TEST(ColumnsDialog, TheCombosSetTheChoiceThePreviewFollowsAndOkKeepsIt) {
    struct Case {
        const char* what;
        QDialogButtonBox::StandardButton button;
        bool chosen;
    };
    const Case cases[] = {
        {"OK", QDialogButtonBox::Ok, true},
        {"Cancel", QDialogButtonBox::Cancel, false},
    };
    for (const auto& c : cases) {
        TempConfig config;
        jobs::ImportChoice choice(Cp1251(QString::fromUtf8(kExport)), std::nullopt);
        ASSERT_EQ(choice.Targets(), (std::vector<std::string>{"", "name", "price", "plu"}));
        QString before;
        QString after;
        bool okWhileRefused = true;
        bool reached = false;
        const bool result = ChooseWith(
            choice,
            [&](QDialog* dialog) {
                before = PreviewCell(dialog, 0, 0);
                Pick(Target(dialog, 1), QStringLiteral("plu"));
                // Two PLU columns: the preview says why, and OK waits.
                okWhileRefused = dialog->findChild<QDialogButtonBox*>()
                                     ->button(QDialogButtonBox::Ok)
                                     ->isEnabled();
                Pick(Target(dialog, 4), QString());
                Pick(Target(dialog, 3), QStringLiteral("price_rub"));
                after = PreviewCell(dialog, 0, 0) + "|" + PreviewCell(dialog, 0, 3);
                Press(dialog, c.button);
            },
            reached);
        ASSERT_TRUE(reached) << c.what;
        EXPECT_EQ(result, c.chosen) << c.what;
        EXPECT_EQ(before, QStringLiteral("10")) << "the guess takes the stock as the PLU";
        EXPECT_FALSE(okWhileRefused) << c.what;
        EXPECT_EQ(after, QStringLiteral("0001|5400")) << c.what;
        EXPECT_EQ(choice.Targets(), (std::vector<std::string>{"plu", "name", "price_rub", ""}))
            << "the model is the window's to keep or drop";
    }
}

TEST(ColumnsDialog, ATextFilesEncodingDelimiterAndHeaderRowAreChosenAboveTheRows) {
    struct Case {
        const char* what;
        const char* box;
        QVariant value;
        QString problem;  // part of the text under the preview; empty for none
        int columns;      // of the file's rows shown
        int previewRows;
    };
    const Case cases[] = {
        {"UTF-8 for code page 1251", "EncodingBox", static_cast<int>(tables::CsvEncoding::Utf8),
         QStringLiteral("не в кодировке UTF-8"), 0, 0},
        {"commas", "DelimiterBox", int(','), QStringLiteral("нет номера"), 1, 0},
        // The first record as the header: its cells name the columns, one row is left to read.
        {"the header's row", "HeaderRowBox", 1, QString(), 4, 1},
    };
    for (const auto& c : cases) {
        TempConfig config;
        jobs::ImportChoice choice(Cp1251(QString::fromUtf8(kExport)), std::nullopt);
        ASSERT_EQ(choice.Encoding(), tables::CsvEncoding::Cp1251);
        QString problem;
        int columns = -1;
        int previewRows = -1;
        bool reached = false;
        ChooseWith(
            choice,
            [&](QDialog* dialog) {
                auto* box = dialog->findChild<QComboBox*>(QString::fromLatin1(c.box));
                if (QString::fromLatin1(c.box) == QStringLiteral("HeaderRowBox")) {
                    box->setCurrentIndex(c.value.toInt());
                    emit box->activated(c.value.toInt());
                } else {
                    Pick(box, c.value);
                }
                problem = dialog->findChild<QLabel*>(QStringLiteral("ChoiceProblem"))->text();
                columns =
                    dialog->findChild<QTableWidget*>(QStringLiteral("SourceRows"))->columnCount();
                previewRows =
                    dialog->findChild<QTableWidget*>(QStringLiteral("PreviewRows"))->rowCount();
                Press(dialog, QDialogButtonBox::Cancel);
            },
            reached);
        ASSERT_TRUE(reached) << c.what;
        EXPECT_EQ(c.problem.isEmpty() ? problem.isEmpty() : problem.contains(c.problem), true)
            << c.what << ": " << problem.toStdString();
        EXPECT_EQ(columns, c.columns) << c.what;
        EXPECT_EQ(previewRows, c.previewRows) << c.what;
    }
}

}  // namespace
