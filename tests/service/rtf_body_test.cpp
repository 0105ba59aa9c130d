// The service's RTF body reader: the published encapsulated-HTML example, encapsulated text, code pages of
// \'hh runs (declared and per font, double-byte pairs), \uN with its fallback, and RTF of its own; and the text
// of HTML bodies.
#include "platform/mapi/HtmlText.h"
#include "platform/mapi/RtfBody.h"
#include "platform/mapi/Text.h"

#include "service/RtfExamples.h"

#include <gtest/gtest.h>

using mapisvc::EncapsulatedKind;
using mapisvc::HtmlToText;
using mapisvc::RtfBodyKind;
using mapisvc::RtfBodyText;

namespace
{
std::string Utf8(const std::u16string& text)
{
    return mapisvc::ToUtf8(text);
}

std::string HtmlOf(const std::string& body)
{
    return Utf8(RtfBodyText("{\\rtf1\\ansi\\fromhtml1 " + body + "}"));
}

TEST(RtfBody, KindFromTheHeader)
{
    EXPECT_EQ(RtfBodyKind::Html, EncapsulatedKind(kEncapsulatedHtmlRtf));
    EXPECT_EQ(RtfBodyKind::Text, EncapsulatedKind(kEncapsulatedTextRtf));
    EXPECT_EQ(RtfBodyKind::Rtf, EncapsulatedKind("{\\rtf1\\ansi hello}"));
    // A word that only begins like the marker is not it.
    EXPECT_EQ(RtfBodyKind::Rtf, EncapsulatedKind("{\\rtf1\\fromhtmlx }"));
}

TEST(RtfBody, PublishedHtmlExampleDeencapsulates)
{
    EXPECT_EQ(std::string(kEncapsulatedHtml), Utf8(RtfBodyText(kEncapsulatedHtmlRtf)));
}

TEST(RtfBody, EncapsulatedTextInItsFontsCodePage)
{
    EXPECT_EQ("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\r\n\tok\r\n", Utf8(RtfBodyText(kEncapsulatedTextRtf)));
}

TEST(RtfBody, HexBytesInTheDeclaredCodePage)
{
    EXPECT_EQ("\xC3\xA9", Utf8(RtfBodyText("{\\rtf1\\ansi\\fromtext \\'e9}")));
    EXPECT_EQ("\xC3\xA9", Utf8(RtfBodyText("{\\rtf1\\ansi\\ansicpg1252\\fromtext \\'E9}")));
    EXPECT_EQ("\xD0\xB9", Utf8(RtfBodyText("{\\rtf1\\ansi\\ansicpg1251\\fromtext \\'e9}")));
    // Double-byte pairs: both escaped, escaped lead with a raw trail ("{" comes escaped as a trail byte).
    EXPECT_EQ("\xE6\x97\xA5\xE6\x9C\xAC", Utf8(RtfBodyText("{\\rtf1\\ansi\\ansicpg932\\fromtext \\'93\\'fa\\'96\\{}")));
    EXPECT_EQ("\xE8\xA1\xA8", Utf8(RtfBodyText("{\\rtf1\\ansi\\ansicpg932\\fromtext \\'95\\\\}")));
    EXPECT_EQ("\xED\x95\x9C", Utf8(RtfBodyText("{\\rtf1\\ansi\\ansicpg949\\fromtext \\'c7\\'d1}")));
}

TEST(RtfBody, UnicodeEscapesSkipTheirFallback)
{
    EXPECT_EQ("\xE8\xA1\xA8", Utf8(RtfBodyText("{\\rtf1\\fromtext \\uc1\\u-30616?}")));
    EXPECT_EQ("\xE6\x97\xA5", Utf8(RtfBodyText("{\\rtf1\\fromtext \\uc2\\u26085\\'93\\'fa}")));
    EXPECT_EQ("\xE6\x97\xA5!", Utf8(RtfBodyText("{\\rtf1\\fromtext \\uc0\\u26085!}")));
    // A character outside the BMP as two units.
    EXPECT_EQ("\xF0\x9F\x98\x80", Utf8(RtfBodyText("{\\rtf1\\fromtext \\u-10179?\\u-8704?}")));
    // The fallback count is scoped by groups.
    EXPECT_EQ("x\xE6\x97\xA5" "b", Utf8(RtfBodyText("{\\rtf1\\fromtext {\\uc3 x}\\u26085?b}")));
}

TEST(RtfBody, RewrittenTagReplacesTheOriginal)
{
    EXPECT_EQ("<a href=\"cid:x\">", HtmlOf("{\\*\\mhtmltag84 <a href=\"cid:x\">}{\\*\\htmltag84 <a href=\"y\">}"));
    // Another number keeps both.
    EXPECT_EQ("<a><b>", HtmlOf("{\\*\\mhtmltag84 <a>}{\\*\\htmltag85 <b>}"));
}

TEST(RtfBody, ConverterRtfAndUnknownDestinationsAreDropped)
{
    EXPECT_EQ("<p>Hi\r\n", HtmlOf("{\\*\\htmltag64 <p>}\\htmlrtf {\\b x}\\htmlrtf0 Hi\\par"));
    EXPECT_EQ("a", HtmlOf("{\\*\\unknown stuff}a{\\*\\htmltag}"));
    EXPECT_EQ("\\{}", HtmlOf("\\\\\\{\\}"));
}

TEST(RtfBody, RtfOfItsOwnGivesItsText)
{
    const std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0\\blue0;}"
                            "{\\*\\generator Writer;}\\pard Hello {\\b bold}\\par World\\tab end"
                            "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}\\emdash}";
    EXPECT_EQ(RtfBodyKind::Rtf, EncapsulatedKind(rtf));
    EXPECT_EQ("Hello bold\r\nWorld\tendlink\xE2\x80\x94", Utf8(RtfBodyText(rtf)));
}

TEST(RtfBody, HostileInputEndsQuietly)
{
    EXPECT_EQ("", Utf8(RtfBodyText("")));
    EXPECT_EQ("", Utf8(RtfBodyText("\\")));
    EXPECT_EQ("a", Utf8(RtfBodyText("{\\rtf1\\fromtext a\\'")));
    EXPECT_EQ("a", Utf8(RtfBodyText("{\\rtf1\\fromtext a\\'4")));
    EXPECT_EQ("", Utf8(RtfBodyText("{\\rtf1\\fromtext \\bin99999999")));
    std::string deep = "{\\rtf1\\fromtext ";
    for (int i = 0; i < 100000; ++i)
        deep += "{";
    deep += "x";
    for (int i = 0; i < 200000; ++i)
        deep += "}";
    EXPECT_EQ("x", Utf8(RtfBodyText(deep)));
}

TEST(HtmlText, BlocksBreaksAndWhiteSpace)
{
    EXPECT_EQ("Title line\r\nSecond para\r\nline one\r\nline two",
              Utf8(HtmlToText(u"<html><head><title>T</title><style>p{color:red}</style></head><body>"
                              u"<h1>Title   line</h1><p>Second\n  para</p>line one<br>line two</body></html>")));
    EXPECT_EQ("a\r\n  b\r\nc", Utf8(HtmlToText(u"<pre>a\n  b\nc</pre>")));
    EXPECT_EQ("x & y \xC2\xA0z", Utf8(HtmlToText(u"<p>x &amp; y &nbsp;z<script>alert(1)</script></p>")));
    EXPECT_EQ("cell1\tcell2", Utf8(HtmlToText(u"<table><tr><td>cell1</td><td>cell2</td></tr></table>")));
    EXPECT_EQ("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", Utf8(HtmlToText(u"<p>\u041F\u0440\u0438\u0432\u0435\u0442")));
}

TEST(HtmlText, TagSoupAndEmptyInput)
{
    EXPECT_EQ("", Utf8(HtmlToText(u"")));
    EXPECT_EQ("unclosed bold", Utf8(HtmlToText(u"<b>unclosed <i>bold")));
    EXPECT_EQ("text<", Utf8(HtmlToText(u"</p></div>text<")));
}
} // namespace
