// The text layer under the iCalendar and vCard files: folding that never cuts a UTF-8 sequence, unfolding with the
// line each logical line starts on, parameters, escaping, and the limits that fail one line instead of the file.
#include "interop/ContentLine.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace mapipim::interop;

namespace
{
std::vector<std::string> PhysicalLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size())
    {
        const size_t end = text.find("\r\n", pos);
        EXPECT_NE(std::string::npos, end) << "every line ends with CRLF";
        if (end == std::string::npos)
            break;
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

TEST(ContentLineTest, FoldsAt75OctetsWithoutCuttingUtf8AndUnfoldsBack)
{
    // Three-octet characters, so a cut at octet 75 would fall inside one unless the writer steps back.
    std::string value;
    for (int i = 0; i < 100; ++i)
        value += "\xE6\x97\xA5"; // 日
    std::string out;
    AppendFolded(out, "NOTE:x" + value);
    const std::vector<std::string> lines = PhysicalLines(out);
    ASSERT_GT(lines.size(), 4u);
    for (size_t i = 0; i < lines.size(); ++i)
    {
        EXPECT_LE(lines[i].size(), 75u) << "line " << i;
        EXPECT_TRUE(IsValidUtf8(i == 0 ? lines[i] : lines[i].substr(1))) << "line " << i << " cut a character";
        if (i > 0)
            EXPECT_EQ(' ', lines[i][0]);
    }
    const std::vector<ContentLine> read = ReadContentLines(out);
    ASSERT_EQ(1u, read.size());
    EXPECT_EQ("NOTE", read[0].name);
    EXPECT_EQ("x" + value, read[0].value);
}

TEST(ContentLineTest, ShortLinesAreNotFolded)
{
    std::string out;
    AppendFolded(out, std::string(75, 'a'));
    EXPECT_EQ(std::string(75, 'a') + "\r\n", out);
}

TEST(ContentLineTest, UnfoldsAndNumbersLogicalLinesWithEitherLineEnd)
{
    const std::string text = "BEGIN:VCARD\r\nNOTE:first\r\n  part\n\tmore\nEND:VCARD";
    const std::vector<ContentLine> lines = ReadContentLines(text);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(1, lines[0].nLine);
    EXPECT_EQ(2, lines[1].nLine);
    EXPECT_EQ("first partmore", lines[1].value);
    EXPECT_EQ(5, lines[2].nLine); // the last line lacks its line break and is still read
    EXPECT_EQ("VCARD", lines[2].value);
}

TEST(ContentLineTest, ParsesGroupsAndQuotedParameterValues)
{
    ContentLine line;
    std::string error;
    ASSERT_TRUE(ParseContentLine("item1.tel;type=\"work,voice\";PREF=1:+1 555", line, error)) << error;
    EXPECT_EQ("TEL", line.name);
    EXPECT_TRUE(line.HasParamValue("TYPE", "WORK"));
    EXPECT_TRUE(line.HasParamValue("TYPE", "voice"));
    EXPECT_FALSE(line.HasParamValue("TYPE", "fax"));
    EXPECT_EQ("1", line.Param("PREF"));
    EXPECT_EQ("+1 555", line.value);

    ASSERT_TRUE(ParseContentLine("X-A;X-P=\"a:b;c\":v:w", line, error)) << error;
    EXPECT_EQ("a:b;c", line.Param("X-P"));
    EXPECT_EQ("v:w", line.value);
}

TEST(ContentLineTest, MalformedLinesFailAlone)
{
    const std::string text = "GOOD:1\r\nno separator\r\nBAD;P=\"open:2\r\n:nameless\r\nGOOD:3\r\n";
    const std::vector<ContentLine> lines = ReadContentLines(text);
    ASSERT_EQ(5u, lines.size());
    EXPECT_EQ("GOOD", lines[0].name);
    for (int i = 1; i <= 3; ++i)
    {
        EXPECT_TRUE(lines[i].name.empty()) << i;
        EXPECT_FALSE(lines[i].value.empty()) << "a reason for line " << lines[i].nLine;
    }
    EXPECT_EQ("GOOD", lines[4].name);
    EXPECT_EQ(5, lines[4].nLine);
}

TEST(ContentLineTest, InvalidUtf8IsRefusedLineByLine)
{
    EXPECT_FALSE(IsValidUtf8("\xC3"));             // cut short
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));  // an emoji
    const std::vector<ContentLine> lines = ReadContentLines("A:ok\r\nB:\xFF\xFE\r\nC:ok\r\n");
    ASSERT_EQ(3u, lines.size());
    EXPECT_TRUE(lines[1].name.empty());
    EXPECT_NE(std::string::npos, lines[1].value.find("UTF-8"));
    EXPECT_EQ("C", lines[2].name);
}

TEST(ContentLineTest, ABareCarriageReturnOrANulFailsItsLineOnly)
{
    const std::string text = std::string("A:ok\r\nEMAIL:a@example.org\rnext\r\nN:\x01") + '\0' + "rc;Jo\r\nC:ok\r\n";
    const std::vector<ContentLine> lines = ReadContentLines(text);
    ASSERT_EQ(4u, lines.size());
    for (int i = 1; i <= 2; ++i)
    {
        EXPECT_TRUE(lines[i].name.empty()) << i;
        EXPECT_NE(std::string::npos, lines[i].value.find("NUL or a carriage return")) << i;
    }
    EXPECT_EQ("C", lines[3].name);
    EXPECT_EQ(4, lines[3].nLine);
}

TEST(ContentLineTest, AnOverlongLogicalLineFailsWithoutBeingKept)
{
    std::string text = "A:ok\r\nHUGE:";
    text.append(kMaxLogicalLine + 10, 'x');
    text += "\r\nC:ok\r\n";
    const std::vector<ContentLine> lines = ReadContentLines(text);
    ASSERT_EQ(3u, lines.size());
    EXPECT_TRUE(lines[1].name.empty());
    EXPECT_NE(std::string::npos, lines[1].value.find("longer than"));
    EXPECT_TRUE(lines[1].raw.empty());
    EXPECT_EQ(3, lines[2].nLine);
}

TEST(ContentLineTest, EscapesTextBothWays)
{
    const std::string plain = "a\\b;c,d\r\ne";
    EXPECT_EQ("a\\\\b\\;c\\,d\\ne", EscapeText(plain));
    EXPECT_EQ(plain, UnescapeText(EscapeText(plain)));
    EXPECT_EQ("x\r\ny", UnescapeText("x\\Ny"));
    EXPECT_EQ("\\q", UnescapeText("\\q")); // an unknown escape stays
    const std::vector<std::string> parts = SplitEscaped("a\\;b;c;;d", ';');
    ASSERT_EQ(4u, parts.size());
    EXPECT_EQ("a\\;b", parts[0]);
    EXPECT_EQ("", parts[2]);
}

TEST(ContentLineTest, Base64RoundTripsAndRefusesGarbage)
{
    for (size_t n = 0; n < 7; ++n)
    {
        std::vector<unsigned char> bytes;
        for (size_t i = 0; i < n; ++i)
            bytes.push_back(static_cast<unsigned char>(0xF0 + i * 7));
        std::vector<unsigned char> back;
        ASSERT_TRUE(Base64Decode(Base64Encode(bytes), back)) << n;
        EXPECT_EQ(bytes, back) << n;
    }
    std::vector<unsigned char> bytes;
    EXPECT_EQ("TWFu", Base64Encode({'M', 'a', 'n'}));
    EXPECT_FALSE(Base64Decode("TW*u", bytes));
    EXPECT_FALSE(Base64Decode("TQ==TQ", bytes));
}
} // namespace
