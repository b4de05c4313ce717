// The hidden XON and XOFF fields: "OK" hands their text to the component as a character.

#include <gtest/gtest.h>

#include <QLineEdit>

#include "FakePlatform.h"
#include "FormHarness.h"

namespace {

TEST(XonXoffFields, TextBecomesTheLowByteOfItsNumberOrZero) {
    struct Case {
        const char* text;
        char character;
    };
    const Case cases[] = {
        {"5", 5},       {" 17\t", 17}, {"+19", 19},       {"007", 7}, {"300", 44},
        {"-1", '\xFF'}, {"abc", 0},    {"", 0},           {"1 2", 0}, {"$11", 0},
        {"0x11", 0},    {"1.5", 0},    {"2147483648", 0}, {"-", 0},
    };
    for (const Case& c : cases) {
        FormHarness h{std::make_unique<FakePlatform>(std::make_shared<FakeLine>())};
        h.Find<QLineEdit>("Xon")->setText(QString::fromLatin1(c.text));
        h.Find<QLineEdit>("Xoff")->setText(QString::fromLatin1(c.text));
        h.ConfirmPort();
        EXPECT_EQ(h.form->ForTests().Comm().XON, c.character) << '"' << c.text << '"';
        EXPECT_EQ(h.form->ForTests().Comm().XOFF, c.character) << '"' << c.text << '"';
    }
}

}  // namespace
