// 8-bit text read in pieces: a character split by a piece border must read back whole in every ANSI code page.
#include "items/AnsiChunkDecoder.h"
#include "support/ScopedEnvironment.h"
#include "support/AfxPrinters.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using mapipim::AnsiChunkDecoder;
using mapipim::GetCompleteAnsiLength;

namespace
{
std::string ToAnsi(const CString& strText)
{
    const int cb = WideCharToMultiByte(CP_ACP, 0, strText, strText.GetLength(), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(cb), '\0');
    WideCharToMultiByte(CP_ACP, 0, strText, strText.GetLength(), &bytes[0], cb, nullptr, nullptr);
    return bytes;
}

CString FromAnsi(const std::string& bytes)
{
    CString strText;
    AnsiChunkDecoder decoder;
    decoder.Append(bytes.data(), static_cast<int>(bytes.size()), strText);
    decoder.Finish(strText);
    return strText;
}

CString DecodeInPieces(const std::string& bytes, size_t cbPiece)
{
    CString strText;
    AnsiChunkDecoder decoder;
    for (size_t i = 0; i < bytes.size(); i += cbPiece)
        decoder.Append(bytes.data() + i, static_cast<int>(std::min(cbPiece, bytes.size() - i)), strText);
    decoder.Finish(strText);
    return strText;
}

CString Repeat(LPCWSTR szText, int nTimes)
{
    CString strText;
    for (int i = 0; i < nTimes; ++i)
        strText += szText;
    return strText;
}

struct CodePageCase
{
    const char* szCodePage;
    LPCWSTR szSample; // mixes single- and multi-byte characters
};

void PrintTo(const CodePageCase& codePage, std::ostream* pStream)
{
    *pStream << "code page " << codePage.szCodePage << ", sample \"" << CString(codePage.szSample).ToUtf8() << '"';
}

// Test names after the code page, the same from run to run.
std::string CodePageName(const ::testing::TestParamInfo<CodePageCase>& info)
{
    return std::string("CodePage") + info.param.szCodePage;
}

class AnsiChunkDecoderTest : public ::testing::TestWithParam<CodePageCase>
{
};

TEST_P(AnsiChunkDecoderTest, EveryPieceSizeReadsTheTextBack)
{
    ScopedEnv acp("MAPIPIM_ACP", GetParam().szCodePage);
    const CString strText = Repeat(GetParam().szSample, 20);
    const std::string bytes = ToAnsi(strText);
    ASSERT_EQ(strText, FromAnsi(bytes));
    for (size_t cbPiece = 1; cbPiece <= 9; ++cbPiece)
        EXPECT_EQ(strText, DecodeInPieces(bytes, cbPiece)) << "pieces of " << cbPiece << " bytes";
}

INSTANTIATE_TEST_SUITE_P(CodePages, AnsiChunkDecoderTest,
                         ::testing::Values(CodePageCase{"949", _T("a\uAC00b\uB098\uB2E4 c")},
                                           CodePageCase{"932", _T("x\u30A2\u3042\u8868\u30BD1")},
                                           CodePageCase{"936", _T("\u4E2D\u6587a\u5B57")},
                                           CodePageCase{"950", _T("\u4E2D\u6587b\u5B57\u8A31")},
                                           CodePageCase{"65001", _T("\u00E9\u20AC\U0001F600z")},
                                           CodePageCase{"1252", _T("caf\u00E9 \u20AC")}),
                         CodePageName);

TEST(AnsiChunkDecoder, CompleteLengthStopsBeforeALoneLeadByte)
{
    ScopedEnv acp("MAPIPIM_ACP", "949");
    const char bytes[] = {'a', '\xB0', '\xA1', 'b', '\xB0'}; // a, U+AC00, b, the first half of U+AC00
    EXPECT_EQ(4, GetCompleteAnsiLength(bytes, 4));
    EXPECT_EQ(4, GetCompleteAnsiLength(bytes, 5));
    EXPECT_EQ(1, GetCompleteAnsiLength(bytes, 2));
    EXPECT_EQ(0, GetCompleteAnsiLength(nullptr, 3));
}

TEST(AnsiChunkDecoder, CompleteLengthOfUtf8)
{
    ScopedEnv acp("MAPIPIM_ACP", "65001");
    const char euro[] = {'x', '\xE2', '\x82', '\xAC'};
    EXPECT_EQ(1, GetCompleteAnsiLength(euro, 2));
    EXPECT_EQ(1, GetCompleteAnsiLength(euro, 3));
    EXPECT_EQ(4, GetCompleteAnsiLength(euro, 4));
}

TEST(AnsiChunkDecoder, ZeroByteEndsThePiece)
{
    ScopedEnv acp("MAPIPIM_ACP", "1252");
    CString strText;
    AnsiChunkDecoder decoder;
    decoder.Append("ab\0cd", 5, strText);
    decoder.Append("ef", 2, strText);
    decoder.Finish(strText);
    EXPECT_EQ(CString(_T("abef")), strText);
}

TEST(AnsiChunkDecoder, FinishKeepsAnUnfinishedCharacterVisible)
{
    ScopedEnv acp("MAPIPIM_ACP", "949");
    CString strText;
    AnsiChunkDecoder decoder;
    decoder.Append("a\xB0", 2, strText);
    EXPECT_EQ(CString(_T("a")), strText);
    decoder.Finish(strText);
    EXPECT_EQ(2, strText.GetLength());
}
} // namespace
