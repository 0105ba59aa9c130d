#include "support/AfxPrinters.h"

#include <gtest/gtest.h>

#include <utility>

namespace
{
TEST(CStringTest, ConstructsFromNullAndCountedText)
{
    EXPECT_TRUE(CString(static_cast<LPCWSTR>(nullptr)).IsEmpty());
    EXPECT_EQ(CString(_T("abcdef"), 3), _T("abc"));
    EXPECT_EQ(CString(_T('x'), 3), _T("xxx"));
    EXPECT_TRUE(CString(_T('x'), -2).IsEmpty());
    EXPECT_EQ(CString(_T("abc")).GetLength(), 3);
}

TEST(CStringTest, CopyAndMoveKeepTextIndependent)
{
    CString original(_T("text"));
    CString copy(original);
    copy.SetAt(0, _T('n'));
    EXPECT_EQ(original, _T("text"));
    CString moved(std::move(copy));
    EXPECT_EQ(moved, _T("next"));
    original = moved;
    original = original; // self-assignment keeps the text
    EXPECT_EQ(original, _T("next"));
}

TEST(CStringTest, IndexesOutsideTheTextAreHarmless)
{
    CString text(_T("ab"));
    EXPECT_EQ(text[1], _T('b'));
    EXPECT_EQ(text.GetAt(2), 0);
    EXPECT_EQ(text.GetAt(-1), 0);
    text.SetAt(5, _T('z'));
    EXPECT_EQ(text, _T("ab"));
}

TEST(CStringTest, LeftMidRightClampCounts)
{
    const CString text(_T("Hello"));
    EXPECT_EQ(text.Left(2), _T("He"));
    EXPECT_EQ(text.Left(99), _T("Hello"));
    EXPECT_EQ(text.Left(-1), _T(""));
    EXPECT_EQ(text.Right(3), _T("llo"));
    EXPECT_EQ(text.Right(99), _T("Hello"));
    EXPECT_EQ(text.Right(-3), _T(""));
    EXPECT_EQ(text.Mid(1, 3), _T("ell"));
    EXPECT_EQ(text.Mid(3), _T("lo"));
    EXPECT_EQ(text.Mid(3, 99), _T("lo"));
    EXPECT_EQ(text.Mid(-2, 2), _T("He"));
    EXPECT_EQ(text.Mid(5), _T(""));
    EXPECT_EQ(text.Mid(9, 2), _T(""));
    EXPECT_EQ(text.Mid(1, -1), _T(""));
}

TEST(CStringTest, FindsCharactersAndSubstrings)
{
    const CString text(_T("a<b>c<d>"));
    EXPECT_EQ(text.Find(_T('<')), 1);
    EXPECT_EQ(text.Find(_T('<'), 2), 5);
    EXPECT_EQ(text.Find(_T('<'), 8), -1);
    EXPECT_EQ(text.Find(_T('<'), -1), -1);
    EXPECT_EQ(text.Find(_T("c<")), 4);
    EXPECT_EQ(text.Find(_T("c<"), 5), -1);
    EXPECT_EQ(text.Find(_T("")), 0);
    EXPECT_EQ(text.Find(static_cast<LPCWSTR>(nullptr)), -1);
    EXPECT_EQ(text.ReverseFind(_T('<')), 5);
    EXPECT_EQ(text.ReverseFind(_T('z')), -1);
    EXPECT_EQ(text.FindOneOf(_T(">c")), 3);
    EXPECT_EQ(text.FindOneOf(_T("xyz")), -1);
}

TEST(CStringTest, ReplaceAndRemoveReturnCounts)
{
    CString text(_T("a;b;;c"));
    EXPECT_EQ(text.Replace(_T(';'), _T(',')), 3);
    EXPECT_EQ(text, _T("a,b,,c"));
    EXPECT_EQ(text.Replace(_T(",,"), _T("--->")), 1);
    EXPECT_EQ(text, _T("a,b--->c"));
    EXPECT_EQ(text.Replace(_T(""), _T("x")), 0);
    EXPECT_EQ(text.Replace(_T("-"), nullptr), 3);
    EXPECT_EQ(text, _T("a,b>c"));
    EXPECT_EQ(text.Remove(_T(',')), 1);
    EXPECT_EQ(text, _T("ab>c"));
    EXPECT_EQ(text.Replace(_T('q'), _T('q')), 0);
}

TEST(CStringTest, ReplaceWithTextOfTheStringItself)
{
    CString text(_T("ab"));
    EXPECT_EQ(text.Replace(_T("a"), text.GetString()), 1);
    EXPECT_EQ(text, _T("abb"));
    text += text;
    EXPECT_EQ(text, _T("abbabb"));
    text.Insert(1, text.GetString() + 4);
    EXPECT_EQ(text, _T("abbbbabb"));
    text = text.GetString() + 5;
    EXPECT_EQ(text, _T("abb"));
}

TEST(CStringTest, InsertAndDeleteClampPositions)
{
    CString text(_T("ace"));
    EXPECT_EQ(text.Insert(1, _T('b')), 4);
    EXPECT_EQ(text.Insert(99, _T("fg")), 6);
    EXPECT_EQ(text.Insert(-5, _T("_")), 7);
    EXPECT_EQ(text, _T("_abcefg"));
    EXPECT_EQ(text.Delete(0), 6);
    EXPECT_EQ(text.Delete(3, 99), 3);
    EXPECT_EQ(text.Delete(9, 1), 3);
    EXPECT_EQ(text.Delete(1, -1), 3);
    EXPECT_EQ(text, _T("abc"));
}

TEST(CStringTest, TrimVariants)
{
    CString text(_T(" \t\r\n value \u3000\n"));
    EXPECT_EQ(CString(text).TrimLeft(), _T("value \u3000\n"));
    EXPECT_EQ(CString(text).TrimRight(), _T(" \t\r\n value"));
    EXPECT_EQ(text.Trim(), _T("value"));
    EXPECT_EQ(CString(_T("'name'")).Trim(_T('\'')), _T("name"));
    EXPECT_EQ(CString(_T(",;a;b,;")).TrimLeft(_T(",;")), _T("a;b,;"));
    EXPECT_EQ(CString(_T(",;a;b,;")).TrimRight(_T(",;")), _T(",;a;b"));
    EXPECT_EQ(CString(_T("xx")).Trim(_T('x')), _T(""));
    EXPECT_EQ(CString(_T(" a ")).Trim(static_cast<LPCWSTR>(nullptr)), _T(" a "));
}

TEST(CStringTest, CaseMappingBeyondAscii)
{
    EXPECT_EQ(CString(_T("ÄÖÜ ΑΒΓ АБВ Straße")).MakeLower(), _T("äöü αβγ абв straße"));
    EXPECT_EQ(CString(_T("äöü αβγ абв straße")).MakeUpper(), _T("ÄÖÜ ΑΒΓ АБВ STRAßE"));
    EXPECT_EQ(CString(_T("\U00010400")).MakeLower(), _T("\U00010428")); // Deseret, outside the basic plane
}

TEST(CStringTest, CompareIsOrdinalAndNoCaseFoldsBeyondAscii)
{
    const CString text(_T("Mail"));
    EXPECT_EQ(text.Compare(_T("Mail")), 0);
    EXPECT_EQ(text.Compare(_T("mail")), -1);
    EXPECT_EQ(text.Compare(_T("Mai")), 1);
    EXPECT_EQ(text.Compare(nullptr), 1);
    EXPECT_EQ(text.CompareNoCase(_T("MAIL")), 0);
    EXPECT_EQ(CString(_T("Привет")).CompareNoCase(_T("ПРИВЕТ")), 0);
    EXPECT_EQ(CString(_T("Ωμέγα")).CompareNoCase(_T("ΩΜΈΓΑ")), 0);
    EXPECT_EQ(CString(_T("straße")).CompareNoCase(_T("STRASSE")), 1);
    EXPECT_EQ(CString(_T("a")).CompareNoCase(_T("B")), -1);
}

TEST(CStringTest, ComparisonOperatorsInEveryCombination)
{
    const CString a(_T("a"));
    const CString b(_T("b"));
    EXPECT_TRUE(a == _T("a") && _T("a") == a && a == CString(_T("a")));
    EXPECT_TRUE(a != b && a != _T("b") && _T("b") != a);
    EXPECT_TRUE(a < b && a < _T("b") && _T("a") < b);
    EXPECT_TRUE(b > a && b > _T("a") && _T("b") > a);
    EXPECT_TRUE(a <= a && a <= _T("b") && _T("a") <= a);
    EXPECT_TRUE(b >= a && b >= _T("b") && _T("c") >= b);
    EXPECT_FALSE(CString(_T("a\0b"), 3) == CString(_T("a")));
}

TEST(CStringTest, AStringHoldingANulComparesLikeWcscmp)
{
    const CString held(_T("a\0b"), 3);
    EXPECT_TRUE(held == held);
    EXPECT_TRUE(held == CString(_T("a\0b"), 3));
    EXPECT_EQ(held.Compare(_T("a")), 0);
    EXPECT_EQ(held.CompareNoCase(_T("A")), 0);
    EXPECT_EQ(held.Compare(_T("ab")), -1);
    EXPECT_EQ(CString(_T("ab")).Compare(held), 1);
}

TEST(CStringTest, ConcatenationInEveryCombination)
{
    const CString a(_T("a"));
    EXPECT_EQ(a + a, _T("aa"));
    EXPECT_EQ(a + _T("b"), _T("ab"));
    EXPECT_EQ(_T("b") + a, _T("ba"));
    EXPECT_EQ(a + _T('c'), _T("ac"));
    EXPECT_EQ(_T('c') + a, _T("ca"));
    EXPECT_EQ(a + static_cast<LPCWSTR>(nullptr), _T("a"));
    CString text;
    text += a;
    text += _T("bc");
    text += _T('d');
    EXPECT_EQ(text, _T("abcd"));
}

TEST(CStringTest, BufferAccessLikeMfc)
{
    CString text;
    LPWSTR pBuffer = text.GetBuffer(10);
    pBuffer[0] = _T('h');
    pBuffer[1] = _T('i');
    pBuffer[2] = 0;
    text.ReleaseBuffer();
    EXPECT_EQ(text, _T("hi"));
    pBuffer = text.GetBufferSetLength(4);
    pBuffer[2] = _T('!');
    pBuffer[3] = _T('!');
    text.ReleaseBuffer(3);
    EXPECT_EQ(text, _T("hi!"));
    CString exact(_T("abc"));
    exact.GetBuffer();
    exact.ReleaseBuffer(999); // clamps to the buffer
    EXPECT_EQ(exact, _T("abc"));
}

TEST(CStringTest, TokenizeWalksTokensAndEnds)
{
    const CString text(_T(";;a;bb;;c;"));
    int iStart = 0;
    EXPECT_EQ(text.Tokenize(_T(";"), iStart), _T("a"));
    EXPECT_EQ(text.Tokenize(_T(";"), iStart), _T("bb"));
    EXPECT_EQ(text.Tokenize(_T(";"), iStart), _T("c"));
    EXPECT_EQ(text.Tokenize(_T(";"), iStart), _T(""));
    EXPECT_EQ(iStart, -1);
    iStart = 2;
    EXPECT_EQ(text.Tokenize(_T(""), iStart), _T("a;bb;;c;"));
    EXPECT_EQ(text.Tokenize(_T(""), iStart), _T(""));
    EXPECT_EQ(iStart, -1);
}

TEST(CStringTest, SpansAndReverse)
{
    const CString text(_T("123abc"));
    EXPECT_EQ(text.SpanIncluding(_T("0123456789")), _T("123"));
    EXPECT_EQ(text.SpanExcluding(_T("c")), _T("123ab"));
    EXPECT_EQ(text.SpanExcluding(_T("z")), _T("123abc"));
    EXPECT_EQ(CString(_T("ab\U0001F600c")).MakeReverse(), _T("c\U0001F600ba"));
}

TEST(CStringTest, Utf8RoundTripAndMalformedInput)
{
    const CString text(_T("Grüße \U0001F600 ∑"));
    EXPECT_EQ(CString::FromUtf8(text.ToUtf8().c_str()), text);
    EXPECT_EQ(text.ToUtf8(), "Gr\xC3\xBC\xC3\x9F"
                             "e \xF0\x9F\x98\x80 \xE2\x88\x91");
    EXPECT_EQ(CString::FromUtf8("a\xFF"
                                "b\xC3"),
              _T("a\uFFFDb\uFFFD"));
    EXPECT_EQ(CString::FromUtf8("\xED\xA0\x80"), _T("\uFFFD\uFFFD\uFFFD")); // an encoded surrogate
    EXPECT_EQ(CString::FromUtf8("\xC0\xAF"), _T("\uFFFD\uFFFD"));           // an overlong form
    EXPECT_EQ(CString::FromUtf8(nullptr), _T(""));
    const WCHAR lone[] = {_T('x'), 0xD800, 0};
    EXPECT_EQ(CString(lone).ToUtf8(), "x\xEF\xBF\xBD");
}

TEST(CStringTest, GetUtf8StopsAtWholeCharacters)
{
    const CString text(_T("aé"));
    char buffer[4] = {'-', '-', '-', '-'};
    EXPECT_EQ(text.GetUtf8(buffer, 2), 3);
    EXPECT_EQ(buffer[0], 'a');
    EXPECT_EQ(buffer[1], '-');
}
} // namespace
