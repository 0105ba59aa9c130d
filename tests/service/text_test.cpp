// The service's UTF-8 reading of names from its databases, and folding case for matching text.
#include "platform/mapi/Text.h"

#include <gtest/gtest.h>

using namespace mapisvc;

namespace
{
TEST(ServiceTextTest, Utf8ThatEncodesNoCharacterReadsAsReplacements)
{
    // Past U+10FFFF, a surrogate, and overlong forms of "/" and of U+0000: one replacement per byte.
    EXPECT_EQ(FromUtf8("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(FromUtf8("a\xED\xA0\x80"), u"a\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(FromUtf8("\xE0\x80\xAF"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(FromUtf8(std::string("\xF0\x80\x80\x80", 4)), u"\uFFFD\uFFFD\uFFFD\uFFFD");
}

TEST(ServiceTextTest, Utf8AtTheEdgesOfTheCodeSpaceReadsAsItsCharacters)
{
    EXPECT_EQ(FromUtf8("\xF4\x8F\xBF\xBF"), u"\U0010FFFF");
    EXPECT_EQ(FromUtf8("\xED\x9F\xBF\xEE\x80\x80"), u"\uD7FF\uE000");
    EXPECT_EQ(FromUtf8("\xE0\xA0\x80\xF0\x90\x80\x80"), u"\u0800\U00010000");
    EXPECT_EQ(ToUtf8(FromUtf8("\xF4\x8F\xBF\xBF")), "\xF4\x8F\xBF\xBF");
}

TEST(ServiceTextTest, FoldingCaseSpellsOutLigaturesHoweverManyThereAre)
{
    EXPECT_EQ(FoldCase(u"\uFB03"), u"ffi");
    EXPECT_EQ(FoldCase(u"\uFB03\uFB03"), u"ffiffi");
    EXPECT_EQ(FoldCase(u"O\uFB03CE \u0390\u0390"), u"office \u03B9\u0308\u0301\u03B9\u0308\u0301");
    EXPECT_TRUE(EqualIgnoreCase(u"\uFB03\uFB03", u"FFIFFI"));
}
} // namespace
