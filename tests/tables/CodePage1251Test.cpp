#include <gtest/gtest.h>

#include <QStringDecoder>

#include "CodePage1251.h"

namespace tables {
namespace {

TEST(CodePage1251, EveryByteDecodesAsTheSystemDecoderDoes) {
    QStringDecoder system("windows-1251");
    ASSERT_TRUE(system.isValid())
        << "Qt has no windows-1251 decoder: it must be built with ICU (Debian's qt6-base is)";
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const QString expected = system.decode(QByteArrayView(&c, 1));
        ASSERT_EQ(expected.size(), 1) << "byte " << byte;
        EXPECT_EQ(FromCp1251(static_cast<std::uint8_t>(byte)), expected.at(0).unicode())
            << "byte " << byte;
    }
}

TEST(CodePage1251, EveryByteSurvivesTheTripThroughUnicode) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    EXPECT_EQ(EncodeCp1251(DecodeCp1251(all)), all);
    for (int byte = 0; byte < 256; ++byte) {
        EXPECT_TRUE(IsInCp1251(FromCp1251(static_cast<std::uint8_t>(byte)))) << "byte " << byte;
    }
}

TEST(CodePage1251, RussianTextHasItsBytes) {
    // "Ёлка №5, цена 10€" in code page 1251
    EXPECT_EQ(EncodeCp1251(QString::fromUtf8("Ёлка №5, цена 10€")),
              "\xa8\xeb\xea\xe0 \xb9"
              "5, \xf6\xe5\xed\xe0 10\x88");
    EXPECT_EQ(DecodeCp1251("\xcc\xee\xeb\xee\xea\xee"), QString::fromUtf8("Молоко"));
}

TEST(CodePage1251, WhatTheCodePageCannotHoldBecomesOneQuestionMark) {
    struct Case {
        const char* what;
        QString text;
        std::string bytes;
    };
    const Case cases[] = {
        {"Latin letter with accent", QString::fromUtf8("café"), "caf?"},
        {"Chinese", QString::fromUtf8("价格"), "??"},
        {"letter outside the first plane", QString::fromUtf8("a\U0001F34Eb"), "a?b"},
        {"lone high surrogate", QString(QChar(0xD83C)) + "x", "?x"},
        {"lone low surrogate", "x" + QString(QChar(0xDF4E)), "x?"},
        {"replacement character", QString(QChar(0xFFFD)), "?"},
    };
    for (const Case& c : cases) EXPECT_EQ(EncodeCp1251(c.text), c.bytes) << c.what;
}

TEST(CodePage1251, TellsWhichCharactersItHolds) {
    for (char32_t held : {U'A', U'Ж', U'я', U'№', U'\u00A0', U'\u0098'}) {
        EXPECT_TRUE(IsInCp1251(held)) << std::hex << held;
    }
    for (char32_t foreign : {U'é', U'价', U'\U0001F34E', U'\uFFFD', U'\u0100'}) {
        EXPECT_FALSE(IsInCp1251(foreign)) << std::hex << foreign;
        EXPECT_EQ(ToCp1251(foreign), '?') << std::hex << foreign;
    }
}

TEST(CodePage1251, Utf8ConvertsAsQtDoesAndOnlyWhenValid) {
    std::string every;
    for (int byte = 0; byte < 256; ++byte) every.push_back(static_cast<char>(byte));
    EXPECT_EQ(Cp1251ToUtf8(every), DecodeCp1251(every).toStdString());
    std::string back;
    EXPECT_TRUE(Utf8ToCp1251(Cp1251ToUtf8(every), back));
    EXPECT_EQ(back, every);
    struct Case {
        const char* what;
        std::string utf8;
        bool valid;
    };
    const Case cases[] = {
        {"Russian, signs and other scripts", "Ёлка №5 € café 价 \U0001F34E \U0010FFFF", true},
        {"overlong slash", "\xC0\xAF", false},
        {"overlong three bytes", "\xE0\x80\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"past U+10FFFF", "\xF4\x90\x80\x80", false},
        {"cut short", "\xD0", false},
        {"lone continuation", "a\x80", false},
        {"code page 1251 text", "\xCC\xEE\xEB\xEE\xEA\xEE", false},
    };
    for (const Case& c : cases) {
        std::string cp1251;
        EXPECT_EQ(Utf8ToCp1251(c.utf8, cp1251), c.valid) << c.what;
        if (c.valid) {
            EXPECT_EQ(cp1251, EncodeCp1251(QString::fromStdString(c.utf8))) << c.what;
        }
    }
}

}  // namespace
}  // namespace tables
