// A list downloaded into the virtual scale and uploaded back.

#include <gtest/gtest.h>

#include "CodePage1251.h"
#include "GridModel.h"
#include "ScaleWindow.h"

namespace {

const QString kLetters =
    QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя");

// A Cyrillic name of `length` characters, a space inside now and then, none at either end.
std::string Name(int length, int seed) {
    QString name;
    for (int i = 0; i < length; ++i) {
        const bool inner = i > 0 && i + 1 < length && (i + seed) % 7 == 0;
        name += inner ? QChar(' ') : kLetters[(i * 5 + seed) % kLetters.size()];
    }
    return tables::EncodeCp1251(name);
}

tables::Row Plu(int n) {
    return {std::to_string(n),         Name(n % 31, n),         Name((n * 7) % 31, n + 3),
            std::to_string(n * 997),   std::to_string(n % 367), std::to_string(n * 13 % 65536),
            std::to_string(n * 40009), std::to_string(n % 100), std::to_string(n % 201)};
}

// What the upload gives back for a name that went down, and why it may differ:
// - the line holds 28 characters, so a longer name is cut, and a cut that ends on a space
//   loses that space too, since a name read back is trimmed;
// - a 27-character name goes with a closing 0x00, which comes back as a space and is trimmed,
//   so it returns unchanged.
std::string AsReadBack(const std::string& name) {
    std::string line = name.substr(0, 28);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

TEST(RoundTrip, FiveHundredPlusComeBackWithTheSameCells) {
    ScaleWindow w;
    std::vector<tables::Row> rows;
    for (int n = 1; n <= 500; ++n) rows.push_back(Plu(n));
    w.SetList(tables::ListKind::Plu, rows);
    RunDownload(w);
    ASSERT_EQ(w.BoxTexts(), std::vector<QString>{QStringLiteral("Данные переданы")});
    ASSERT_EQ(w.scale.Plus().size(), 500u);

    w.h.dialogs->boxes.clear();
    ASSERT_FALSE(w.h.form->ForTests().TableModified()) << "the upload would ask to save";
    w.h.Click("Button22");
    ASSERT_EQ(w.BoxTexts(), std::vector<QString>{QStringLiteral("Данные приняты")});
    const tables::Table& back = w.h.form->ForTests().Grid();
    ASSERT_EQ(back.RowCount(), 502);
    for (int n = 1; n <= 500; ++n) {
        tables::Row expected = rows[n - 1];
        expected[1] = AsReadBack(expected[1]);
        expected[2] = AsReadBack(expected[2]);
        EXPECT_EQ(back.RowAt(n), expected) << "row " << n;
    }
    EXPECT_EQ(back.Cell(0, 501), "***");
}

}  // namespace
