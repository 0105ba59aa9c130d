#include "platform/afx/WideFormat.h"

#include "support/AfxPrinters.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdarg>

namespace
{
template <typename... Args> CString Formatted(LPCWSTR pszFormat, const Args&... args)
{
    CString text;
    text.Format(pszFormat, args...);
    return text;
}

CString FormattedV(LPCWSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    CString text;
    text.FormatV(pszFormat, args);
    va_end(args);
    return text;
}

TEST(FormatTest, IntegersWithWidthsAndFlags)
{
    EXPECT_EQ(Formatted(_T("%d|%5d|%-5d|%05d|%+d"), 42, 42, 42, 42, 42), _T("42|   42|42   |00042|+42"));
    EXPECT_EQ(Formatted(_T("%u %x %X %#x %o"), 4294967295u, 255, 255, 255, 8), _T("4294967295 ff FF 0xff 10"));
    EXPECT_EQ(Formatted(_T("%u"), -1), _T("4294967295"));
    EXPECT_EQ(Formatted(_T("%x"), -1), _T("ffffffff"));
    EXPECT_EQ(Formatted(_T("%.3d|% d"), 7, 7), _T("007| 7"));
    EXPECT_EQ(Formatted(_T("%*d|%-*d|%.*d"), 4, 1, 3, 2, 2, 3), _T("   1|2  |03"));
    EXPECT_EQ(Formatted(_T("%*d"), -3, 5), _T("5  "));
}

TEST(FormatTest, LongIsThirtyTwoBitsAndLongLongSixtyFour)
{
    const LONG nLong = -5;
    const ULONG nUnsigned = 0x80000000u;
    EXPECT_EQ(Formatted(_T("%ld %lu %lx"), nLong, nUnsigned, nUnsigned), _T("-5 2147483648 80000000"));
    EXPECT_EQ(Formatted(_T("%lld %I64d %I64u %llu"), LLONG_MIN, -2LL, ULLONG_MAX, 1ULL),
              _T("-9223372036854775808 -2 18446744073709551615 1"));
    EXPECT_EQ(Formatted(_T("%hd %hhu"), 70000, 257), _T("4464 1"));
    EXPECT_EQ(FormattedV(_T("%ld|%lu|%lld|%I64x"), LONG(-7), ULONG(7), -8LL, 0x123456789ULL), _T("-7|7|-8|123456789"));
}

TEST(FormatTest, TextConversions)
{
    const CString name(_T("Inbox"));
    EXPECT_EQ(Formatted(_T("[%s] [%10s] [%-7s] [%.2s]"), name, _T("Ab"), _T("Cd"), _T("Efgh")),
              _T("[Inbox] [        Ab] [Cd     ] [Ef]"));
    EXPECT_EQ(Formatted(_T("%s|%s"), static_cast<LPCWSTR>(nullptr), nullptr), _T("(null)|(null)"));
    EXPECT_EQ(Formatted(_T("%hs|%S|%s"), "narrow", "caf\xC3\xA9", "as-is"), _T("narrow|café|as-is"));
    EXPECT_EQ(Formatted(_T("%c%c%C"), _T('Ж'), 'x', 'y'), _T("Жxy"));
    EXPECT_EQ(FormattedV(_T("%s %hs %c"), _T("wide"), "narrow", _T('z')), _T("wide narrow z"));
}

TEST(FormatTest, FloatingPoint)
{
    EXPECT_EQ(Formatted(_T("%f|%.2f|%8.3f|%e|%g|%G"), 1.5, 2.346, -3.14159, 12345.678, 0.0001, 1e20),
              _T("1.500000|2.35|  -3.142|1.234568e+04|0.0001|1E+20"));
    EXPECT_EQ(Formatted(_T("%.1f"), 100), _T("100.0"));
    EXPECT_EQ(FormattedV(_T("%.3f"), 0.5), _T("0.500"));
}

TEST(FormatTest, PercentPointerAndUnknownConversions)
{
    EXPECT_EQ(Formatted(_T("100%% %d%%"), 5), _T("100% 5%"));
    EXPECT_EQ(Formatted(_T("%p"), reinterpret_cast<void*>(0xABC)), _T("0000000000000ABC"));
    EXPECT_EQ(Formatted(_T("%y %d %n"), 3), _T("%y 3 %n"));
    EXPECT_EQ(Formatted(_T("tail %5")), _T("tail %5"));
    EXPECT_EQ(FormattedV(_T("%k|%d"), 9), _T("%k|9"));
}

TEST(FormatTest, MissingOrMismatchedArgumentsStayVisible)
{
    EXPECT_EQ(Formatted(_T("[MAPI] Set failed : %s(strLocation) - Folder:%s"), _T("Room 1")),
              _T("[MAPI] Set failed : Room 1(strLocation) - Folder:%s"));
    EXPECT_EQ(Formatted(_T("%s and %d"), 5, _T("x")), _T("%s and %d"));
    EXPECT_EQ(Formatted(_T("%*d"), _T("x"), 1), _T("%*d"));
}

TEST(FormatTest, HugeWidthsAreBounded)
{
    const CString text = Formatted(_T("%999999999d"), 1);
    EXPECT_LE(text.GetLength(), 5000);
    EXPECT_EQ(text.Right(1), _T("1"));
}

TEST(FormatTest, AppendFormatKeepsExistingText)
{
    CString text(_T("a"));
    text.AppendFormat(_T("-%d-%s"), 1, text);
    EXPECT_EQ(text, _T("a-1-a"));
    text.Format(_T("%s%s"), text, text);
    EXPECT_EQ(text, _T("a-1-aa-1-a"));
    text.Format(nullptr);
    EXPECT_TRUE(text.IsEmpty());
}
} // namespace
