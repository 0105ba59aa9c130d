// DecodeRTFBody: the rule table (tags, rewritten tags, converter RTF, paragraph and tab words, the literal
// control words), the decoded escapes (\'hh runs in the declared code page, double-byte pairs, \uN with its
// fallback, \\), encapsulated text, and cancellation.
#include "support/ItemFixture.h"

#include <mapipim/MAPIEmailItem.h>
#include <mapipim/MAPIInterface.h>

namespace
{
CString Decode(const CString& strRtf, BOOL* pbResult = nullptr)
{
    CMAPIEmailItem item;
    CString strText = strRtf;
    const BOOL bResult = item.DecodeRTFBody(strText);
    if (pbResult)
        *pbResult = bResult;
    return strText;
}

CString Html(const CString& strBody)
{
    return Decode(_T("{\\rtf1\\ansi\\fromhtml1 ") + strBody + _T("}"));
}

class RtfBodyDecoderTest : public ::testing::Test
{
protected:
    ProcessFlagsGuard m_flags;
};

TEST_F(RtfBodyDecoderTest, ParagraphTagThenConverterRtfThenText)
{
    EXPECT_EQ(CString(_T("<p>Hi\r\n")), Html(_T("{\\*\\htmltag64 <p>}\\htmlrtf {\\b bold}\\htmlrtf0 Hi\\par")));
}

TEST_F(RtfBodyDecoderTest, RewrittenTagKeepsTheFirstAndDropsTheSecond)
{
    EXPECT_EQ(CString(_T("<html><a href=\"cid:1\">")),
              Html(_T("<html>{\\*\\mhtmltag84 <a href=\"cid:1\">}{\\*\\htmltag84 <a href=\"x\">}")));
    // Another number keeps both.
    EXPECT_EQ(CString(_T("<html><a><b>")), Html(_T("<html>{\\*\\mhtmltag84 <a>}{\\*\\htmltag85 <b>}")));
}

TEST_F(RtfBodyDecoderTest, HexEscapesInEitherCaseUnder1252)
{
    EXPECT_EQ(CString(_T("<html>\u00E9\u00E9")), Html(_T("<html>\\'e9\\'E9")));
    EXPECT_EQ(CString(_T("<html>\u00E9")), Decode(_T("{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 <html>\\'e9}")));
}

TEST_F(RtfBodyDecoderTest, HexEscapesInTheDeclaredCodePage)
{
    // 1251: "\u0412" for \'c2, not the Latin-1 letter.
    EXPECT_EQ(CString(_T("<html>\u0412\u0439")), Decode(_T("{\\rtf1\\ansi\\ansicpg1251\\fromhtml1 <html>\\'c2\\'e9}")));
    // Double-byte code pages: both bytes of a character joined, a raw trail byte too.
    EXPECT_EQ(CString(_T("<html>\u65E5\u672C")),
              Decode(_T("{\\rtf1\\ansi\\ansicpg932\\fromhtml1 <html>\\'93\\'fa\\'96\\{}")));
    EXPECT_EQ(CString(_T("<html>\u8868")), Decode(_T("{\\rtf1\\ansi\\ansicpg932\\fromhtml1 <html>\\'95\\'5c}")));
    EXPECT_EQ(CString(_T("<html>\uD55C\uAD6D")),
              Decode(_T("{\\rtf1\\ansi\\ansicpg949\\fromhtml1 <html>\\'c7\\'d1\\'b1\\'b9}")));
    EXPECT_EQ(CString(_T("<html>\u4E2D")), Decode(_T("{\\rtf1\\ansi\\ansicpg936\\fromhtml1 <html>\\'d6\\'d0}")));
    // A code page the machine cannot convert is read as 1252.
    EXPECT_EQ(CString(_T("<html>\u00E9")), Decode(_T("{\\rtf1\\ansi\\ansicpg99999\\fromhtml1 <html>\\'e9}")));
}

TEST_F(RtfBodyDecoderTest, UnicodeEscapesAndTheirFallback)
{
    EXPECT_EQ(CString(_T("<html>\u8868")), Html(_T("<html>\\uc1\\u-30616?")));
    EXPECT_EQ(CString(_T("<html>\u65E5")), Html(_T("<html>\\uc2\\u26085\\'93\\'fa")));
    EXPECT_EQ(CString(_T("<html>\u65E5!")), Html(_T("<html>\\uc0\\u26085!")));
    EXPECT_EQ(CString(_T("<html>\U0001F600")), Html(_T("<html>\\u-10179?\\u-8704?")));
    EXPECT_EQ(CString(_T("<html>\u65E5x")), Html(_T("<html>\\u26085 ?x")));
    // The fallback count is kept per group.
    EXPECT_EQ(CString(_T("<html>\u65E5b")), Html(_T("<html>{\\uc3}\\u26085?b")));
}

TEST_F(RtfBodyDecoderTest, EscapedCharacters)
{
    EXPECT_EQ(CString(_T("<html>{}\\")), Html(_T("<html>\\{\\}\\\\")));
    EXPECT_EQ(CString(_T("<html>\\par")), Html(_T("<html>\\\\par")));
}

TEST_F(RtfBodyDecoderTest, OtherRulesOfTheTableStay)
{
    // The paragraph-defaults word: the first four characters match "\par".
    EXPECT_EQ(CString(_T("<html>\r\nd")), Html(_T("<html>\\pard")));
    EXPECT_EQ(CString(_T("<html>\tx")), Html(_T("<html>\\tab x")));
    EXPECT_EQ(CString(_T("<html>ab")), Html(_T("<html>a\\li360 \\fi-360 b")));
    EXPECT_EQ(CString(_T("<html>\\b \\line")), Html(_T("<html>\\b \\line")));
    EXPECT_EQ(CString(_T("<html>ab")), Html(_T("<html>a{\\pntext 1.\\tab}b")));
    EXPECT_EQ(CString(_T("<html>ab")), Html(_T("<html>a\r\n{b}")));
    // Converter RTF without its end drops the rest.
    EXPECT_EQ(CString(_T("<html>a")), Html(_T("<html>a\\htmlrtf b")));
    // An escape whose characters are no hex digits keeps the arithmetic of the table.
    EXPECT_EQ(CString(_T("\u0231")), Html(_T("\\*\\htmltag \\'xx")));
}

TEST_F(RtfBodyDecoderTest, WithoutAStartThereIsNoText)
{
    EXPECT_EQ(CString(), Decode(_T("{\\rtf1\\fromhtml1 no tags}")));
    EXPECT_EQ(CString(), Decode(_T("{\\rtf1\\fromtext no font size}")));
    const CString strRaw = _T("{\\rtf1\\ansi plain {\\b rtf}}");
    EXPECT_EQ(strRaw, Decode(strRaw));
}

TEST_F(RtfBodyDecoderTest, EncapsulatedText)
{
    EXPECT_EQ(CString(_T("\u041F\u0440\u0438\u0432\u0435\u0442\r\n\tok\r\n")),
              Decode(_T("{\\rtf1\\ansi\\ansicpg1251\\fromtext \\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}\r\n")
                     _T("\\pard\\plain\\f0\\fs20 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\par\\tab ok\\par}")));
    // Tags are text there.
    EXPECT_EQ(CString(_T("\\*\\htmltag1 <b>")), Decode(_T("{\\rtf1\\fromtext \\fs20 {\\*\\htmltag1 <b>}}")));
}

TEST_F(RtfBodyDecoderTest, CancelledDecodingKeepsWhatItProduced)
{
    CMAPIInterface::SetCancel(1);
    BOOL bResult = TRUE;
    EXPECT_EQ(CString(), Decode(_T("{\\rtf1\\fromhtml1 <html>text}"), &bResult));
    EXPECT_FALSE(bResult);
    CMAPIInterface::SetCancel(0);
    EXPECT_EQ(CString(_T("<html>text")), Decode(_T("{\\rtf1\\fromhtml1 <html>text}"), &bResult));
    EXPECT_TRUE(bResult);
}

TEST_F(RtfBodyDecoderTest, TruncatedEscapesEndQuietly)
{
    EXPECT_EQ(CString(_T("<html>\\'")), Html(_T("<html>\\'")));
    EXPECT_EQ(CString(_T("<html>\\u")), Decode(_T("{\\rtf1\\fromhtml1 <html>\\u")));
    EXPECT_EQ(CString(_T("<html>\u0001")), Decode(_T("{\\rtf1\\fromhtml1 <html>\\u1")));
    EXPECT_EQ(CString(), Decode(_T("\\fromhtml\\*\\htmltag")));
}
} // namespace
