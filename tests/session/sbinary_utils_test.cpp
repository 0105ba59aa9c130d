// Entry identifiers as owned byte strings: copying, comparing and the hexadecimal text form in both directions.
#include <mapipim/SBinaryUtils.h>

#include "session/SBinaryBytes.h"
#include "support/AfxPrinters.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace
{
typedef std::vector<BYTE> Bytes;

// An SBinary that releases its owned bytes at the end of the test.
struct OwnedBinary
{
    OwnedBinary() : value() {}
    explicit OwnedBinary(const Bytes& bytes) : value()
    {
        SBinary view = {ULONG(bytes.size()), const_cast<LPBYTE>(bytes.data())};
        CopySBinary(value, view);
    }
    ~OwnedBinary() { mapipim::FreeSBinary(value); }
    OwnedBinary(const OwnedBinary&) = delete;
    OwnedBinary& operator=(const OwnedBinary&) = delete;

    Bytes Get() const { return value.cb ? Bytes(value.lpb, value.lpb + value.cb) : Bytes(); }

    SBinary value;
};

SBinary View(Bytes& bytes)
{
    SBinary view = {ULONG(bytes.size()), bytes.data()};
    return view;
}

TEST(CopySBinaryTest, CopiesIntoOwnBytes)
{
    Bytes source = {0x01, 0xAB, 0x00};
    OwnedBinary target;
    EXPECT_TRUE(CopySBinary(target.value, View(source)));
    EXPECT_EQ(target.Get(), source);
    EXPECT_NE(target.value.lpb, source.data());
    source[0] = 0x7F;
    EXPECT_EQ(target.Get(), (Bytes{0x01, 0xAB, 0x00}));
}

TEST(CopySBinaryTest, EmptySourceEmptiesTheTarget)
{
    OwnedBinary target(Bytes{1, 2, 3});
    SBinary empty = {0, nullptr};
    EXPECT_TRUE(CopySBinary(target.value, empty));
    EXPECT_EQ(target.value.cb, 0u);
    EXPECT_EQ(target.value.lpb, nullptr);
}

TEST(CopySBinaryTest, ReplacesBytesTheTargetHeld)
{
    OwnedBinary target(Bytes{1, 2, 3, 4, 5});
    Bytes source = {9};
    EXPECT_TRUE(CopySBinary(target.value, View(source)));
    EXPECT_EQ(target.Get(), source); // the five old bytes were released (the leak check would tell otherwise)
}

TEST(CopySBinaryTest, CopyingAValueOntoItselfKeepsItsBytes)
{
    OwnedBinary value(Bytes{4, 5, 6});
    EXPECT_TRUE(CopySBinary(value.value, value.value));
    EXPECT_EQ(value.Get(), (Bytes{4, 5, 6}));

    // A shallow alias of the target's bytes is still read before they are released.
    SBinary alias = value.value;
    EXPECT_TRUE(CopySBinary(value.value, alias));
    EXPECT_EQ(value.Get(), (Bytes{4, 5, 6}));
}

TEST(CopySBinaryTest, CountWithoutBytesFailsAndLeavesTheTargetEmpty)
{
    OwnedBinary target(Bytes{1});
    SBinary broken = {4, nullptr};
    EXPECT_FALSE(CopySBinary(target.value, broken));
    EXPECT_EQ(target.value.cb, 0u);
    EXPECT_EQ(target.value.lpb, nullptr);
}

TEST(CompareSBinaryTest, ExactByteEquality)
{
    Bytes first = {1, 2, 3}, same = {1, 2, 3}, lastDiffers = {1, 2, 4}, longer = {1, 2, 3, 0};
    EXPECT_TRUE(CompareSBinary(View(first), View(same)));
    EXPECT_FALSE(CompareSBinary(View(first), View(lastDiffers)));
    EXPECT_FALSE(CompareSBinary(View(first), View(longer)));
    EXPECT_FALSE(CompareSBinary(View(longer), View(first)));
}

TEST(CompareSBinaryTest, EmptyValuesAreEqualWhateverTheirPointers)
{
    BYTE byte = 7;
    SBinary empty = {0, nullptr}, emptyWithPointer = {0, &byte};
    EXPECT_TRUE(CompareSBinary(empty, emptyWithPointer));
    SBinary missing = {1, nullptr}, present = {1, &byte};
    EXPECT_FALSE(CompareSBinary(missing, present));
}

TEST(GetSBinaryToStringTest, TwoUpperCaseDigitsPerByte)
{
    Bytes bytes = {0x00, 0x0F, 0xF0, 0xFF};
    CString text;
    EXPECT_TRUE(GetSBinaryToString(text, View(bytes)));
    EXPECT_EQ(text, _T("000FF0FF"));

    Bytes other = {0x01, 0xAB, 0x00};
    EXPECT_TRUE(GetSBinaryToString(text, View(other)));
    EXPECT_EQ(text, _T("01AB00")); // replaces the longer text before it
}

TEST(GetSBinaryToStringTest, EmptyValueLeavesTheTextAsItWas)
{
    CString text(_T("previous"));
    SBinary empty = {0, nullptr};
    EXPECT_FALSE(GetSBinaryToString(text, empty));
    EXPECT_EQ(text, _T("previous"));
}

struct HexCase
{
    const WCHAR* text;
    Bytes bytes;
};

// A case in failure messages: the text and the bytes it should give.
void PrintTo(const HexCase& hexCase, std::ostream* pStream)
{
    *pStream << '"' << CString(hexCase.text).ToUtf8() << "\" -> {";
    for (size_t i = 0; i < hexCase.bytes.size(); ++i)
    {
        char szByte[4];
        snprintf(szByte, sizeof szByte, "%02X", hexCase.bytes[i]);
        *pStream << (i ? " " : "") << szByte;
    }
    *pStream << '}';
}

// A case's test name spells its text, so that names stay the same from run to run: letters and digits as they
// are, the other characters by name.
std::string HexCaseName(const testing::TestParamInfo<HexCase>& info)
{
    std::string name = "Text_";
    for (const WCHAR* pch = info.param.text; *pch; ++pch)
    {
        const WCHAR ch = *pch;
        if ((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'))
            name += static_cast<char>(ch);
        else if (ch == ' ')
            name += "Space";
        else if (ch == '-')
            name += "Minus";
        else if (ch == '+')
            name += "Plus";
        else
            name += "_U" + std::to_string(static_cast<unsigned>(ch)) + "_";
    }
    return name;
}

class GetStringToSBinaryCases : public testing::TestWithParam<HexCase>
{
};

TEST_P(GetStringToSBinaryCases, MakesTheBytes)
{
    OwnedBinary value(Bytes{0xEE, 0xEE}); // bytes held before are released
    EXPECT_TRUE(GetStringToSBinary(value.value, CString(GetParam().text)));
    EXPECT_EQ(value.Get(), GetParam().bytes);
    EXPECT_EQ(value.value.lpb == nullptr, value.value.cb == 0); // an empty value holds no buffer
}

INSTANTIATE_TEST_SUITE_P(Digits, GetStringToSBinaryCases,
                         testing::Values(HexCase{_T("01ab"), {0x01, 0xAB}}, HexCase{_T("01AB"), {0x01, 0xAB}},
                                         HexCase{_T("ABC"), {0xAB}}, // without a prefix a last odd digit is ignored
                                         HexCase{_T("zz"), {0x00}},  // a pair that begins with a non-digit gives 0
                                         HexCase{_T("1z"), {0x01}},  // conversion stops at the first non-digit
                                         HexCase{_T(" 1"), {0x01}},  // leading white space is skipped
                                         HexCase{_T("-1"), {0xFF}},  // a sign is accepted; the low eight bits are kept
                                         HexCase{_T("+F"), {0x0F}}, HexCase{_T("A"), {}}),
                         HexCaseName);

INSTANTIATE_TEST_SUITE_P(
    Prefixes, GetStringToSBinaryCases,
    testing::Values(HexCase{_T("0x01AB"), {0x01, 0xAB}}, HexCase{_T("0X01AB"), {0x01, 0xAB}},
                    HexCase{_T("xABC"), {0xAB, 0x0C}}, // one-character prefix: the last digit makes a byte
                    HexCase{_T("XAB"), {0xAB}}, HexCase{_T("xx01"), {0x01}},
                    HexCase{_T("Qx12"), {0x12}}, // the character before an "x" at position 1 is not read
                    HexCase{_T("xxAB"), {0xAB}}, // fewer bytes than half the length
                    HexCase{_T("0xABC"),
                            {0xAB, 0x0C}}, // half the length, prefix included, leaves room for the last digit
                    HexCase{_T("xx"), {}}, HexCase{_T("0x"), {}}, HexCase{_T("x"), {}}),
    HexCaseName);

TEST(GetStringToSBinaryTest, EmptyTextLeavesTheTargetItsBytes)
{
    OwnedBinary value(Bytes{1, 2});
    LPBYTE lpbBefore = value.value.lpb;
    EXPECT_FALSE(GetStringToSBinary(value.value, CString()));
    EXPECT_EQ(value.value.lpb, lpbBefore);
    EXPECT_EQ(value.Get(), (Bytes{1, 2}));
}

TEST(GetStringToSBinaryTest, TextAndBytesRoundTrip)
{
    Bytes bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(BYTE(i * 37 + 11));
    CString text;
    ASSERT_TRUE(GetSBinaryToString(text, View(bytes)));
    EXPECT_EQ(text.GetLength(), 512);
    OwnedBinary value;
    ASSERT_TRUE(GetStringToSBinary(value.value, text));
    EXPECT_EQ(value.Get(), bytes);
}
} // namespace
