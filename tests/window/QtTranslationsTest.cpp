// Qt's own texts follow the operator's locale; the window's own stay as they are.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>

#include "QtTranslations.h"
#include "TableWindow.h"

namespace {

QString Plain(QString text) {
    return text.remove(QLatin1Char('&'));
}

struct QtTexts {
    QString yes, no, cancel, fileName;
};

QtTexts Shown() {
    QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::No |
                             QDialogButtonBox::Cancel);
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    return {Plain(buttons.button(QDialogButtonBox::Yes)->text()),
            Plain(buttons.button(QDialogButtonBox::No)->text()),
            Plain(buttons.button(QDialogButtonBox::Cancel)->text()),
            Plain(dialog.labelText(QFileDialog::FileName))};
}

TEST(QtTranslations, QtsOwnTextsFollowTheLocaleAndTheWindowsStay) {
    const struct {
        const char* locale;
        bool loaded;
        QtTexts texts;
    } cases[] = {
        {"ru_RU", true, {"Да", "Нет", "Отмена", "Имя файла:"}},
        {"C", false, {"Yes", "No", "Cancel", "File name:"}},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<QTranslator> translator = QtTranslations(QLocale(c.locale));
        ASSERT_EQ(translator != nullptr, c.loaded) << c.locale;
        if (translator) QApplication::installTranslator(translator.get());
        const QtTexts texts = Shown();
        EXPECT_EQ(texts.yes, c.texts.yes) << c.locale;
        EXPECT_EQ(texts.no, c.texts.no) << c.locale;
        EXPECT_EQ(texts.cancel, c.texts.cancel) << c.locale;
        EXPECT_EQ(texts.fileName, c.texts.fileName) << c.locale;
        // The form's own captions are not Qt's to translate.
        TableWindow w;
        EXPECT_EQ(w.h.Find<QPushButton>("Button16")->text(), QStringLiteral("Add")) << c.locale;
        if (translator) QApplication::removeTranslator(translator.get());
    }
}

}  // namespace
