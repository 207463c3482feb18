#include "platform/cp1252.h"

#include <gtest/gtest.h>

namespace tarvel {
namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTrip)
{
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        const std::string utf8 = cp1252ToUtf8(one);
        EXPECT_EQ(utf8ToCp1252(utf8), one) << b;
        EXPECT_EQ(codePointToCp1252(cp1252ToCodePoint(static_cast<unsigned char>(b))), b) << b;
    }
}

TEST(Cp1252, TheHighBlockMapsToItsTypographicCharacters)
{
    EXPECT_EQ(cp1252ToUtf8("\x80"), "€");
    EXPECT_EQ(cp1252ToUtf8("\x93hola\x94"), "“hola”");
    EXPECT_EQ(cp1252ToUtf8("\x85"), "…");
    EXPECT_EQ(cp1252ToUtf8("\x9F"), "Ÿ");
    EXPECT_EQ(cp1252ToUtf8("\x8A\x9A"), "Šš");
    EXPECT_EQ(cp1252ToUtf8("\xBF"
                           "Est\xE1 activada?"),
              "¿Está activada?");
    EXPECT_EQ(utf8ToCp1252("Páralo Todo ñ Ü"), "P\xE1ralo Todo \xF1 \xDC");
    EXPECT_EQ(utf8ToCp1252("€"), "\x80");
}

TEST(Cp1252, CharactersOutsideTheCodePageAndBrokenUtf8BecomeQuestionMarks)
{
    EXPECT_EQ(utf8ToCp1252("a\xE2\x88\x9E"
                           "b"),
              "a?b");                                  // infinity sign
    EXPECT_EQ(utf8ToCp1252("\xF0\x9F\x98\x80"), "?");  // an emoji
    EXPECT_EQ(utf8ToCp1252("x\xC3"), "x?");            // cut short
    EXPECT_EQ(utf8ToCp1252("\xFF"
                           "z"),
              "?z");
    EXPECT_EQ(utf8ToCp1252("\xC3("), "?(");
}

}  // namespace
}  // namespace tarvel
