#include "core/Codec.h"

#include <gtest/gtest.h>

namespace nvx {
namespace {

TEST(Codec, CyrillicTextsRoundTrip)
{
    struct Case {
        std::string utf8;
        std::string cp1251;
    };
    const Case cases[] = {
        {"История", "\xC8\xF1\xF2\xEE\xF0\xE8\xFF"},
        {"Датчик движения", "\xC4\xE0\xF2\xF7\xE8\xEA \xE4\xE2\xE8\xE6\xE5\xED\xE8\xFF"},
        {"ё Ё", "\xB8 \xA8"},
        {"№ 12", "\xB9 12"},
        {"АЯая", "\xC0\xDF\xE0\xFF"},
        {"€ — «»", "\x88 \x97 \xAB\xBB"},
        {"+SM1A=Тревога \r", "+SM1A=\xD2\xF0\xE5\xE2\xEE\xE3\xE0 \r"},
        {"", ""},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.utf8);
        EXPECT_EQ(ToCp1251(test.utf8), test.cp1251);
        EXPECT_EQ(FromCp1251(test.cp1251), test.utf8);
    }
}

TEST(Codec, EveryByteSurvivesDecodingAndEncoding)
{
    std::string all;
    for (int byte = 1; byte < 256; ++byte)
        all += static_cast<char>(byte);
    all += '\0';
    const std::string text = FromCp1251(all);
    EXPECT_EQ(ToCp1251(text), all);
    EXPECT_EQ(FromCp1251("\x98"), "\xC2\x98"); // the byte CP1251 leaves undefined
}

TEST(Codec, WhatCp1251CannotHoldBecomesQuestionMarks)
{
    struct Case {
        std::string utf8;
        std::string cp1251;
    };
    const Case cases[] = {
        {"Zone 中 ok", "Zone ? ok"},
        {"a😀b", "a?b"},
        {"über", "?ber"},
        {"x\xFFy", "x?y"},             // not UTF-8 at all
        {"x\xD0", "x?"},               // cut off at the end
        {"\xE4\xB8 Да", "? \xC4\xE0"}, // cut off in the middle
        {"\xE0\x82\x98", "?"},         // an overlong form of U+0098 is still malformed
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.utf8);
        EXPECT_EQ(ToCp1251(test.utf8), test.cp1251);
    }
}

TEST(Codec, LongTextsConvertWhole)
{
    std::string utf8, back;
    for (int i = 0; i < 5000; ++i) {
        utf8 += "Тревога 中 ";
        back += "Тревога ? ";
    }
    const std::string cp1251 = ToCp1251(utf8);
    EXPECT_EQ(cp1251.size(), 5000u * 10);
    EXPECT_EQ(FromCp1251(cp1251), back);
}

} // namespace
} // namespace nvx
