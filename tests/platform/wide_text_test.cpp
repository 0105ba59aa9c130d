#include "platform/platform.h"

#include <gtest/gtest.h>

namespace
{
int Sign(int nValue)
{
    return nValue < 0 ? -1 : nValue > 0 ? 1 : 0;
}

TEST(WideTextTest, LengthOfNullIsZero)
{
    EXPECT_EQ(lstrlenW(nullptr), 0);
    EXPECT_EQ(lstrlenW(_T("")), 0);
    EXPECT_EQ(lstrlenW(_T("Größe \U0001F600")), 8); // the emoji is two code units
}

TEST(WideTextTest, CompareSortsLikeWindows)
{
    EXPECT_EQ(lstrcmpW(_T("abc"), _T("abc")), 0);
    EXPECT_EQ(Sign(lstrcmpW(_T("a"), _T("B"))), -1); // linguistic: a before B, unlike the code units
    EXPECT_EQ(Sign(lstrcmpW(_T("B"), _T("c"))), -1);
    EXPECT_EQ(Sign(lstrcmpW(_T("a"), _T("A"))), -1);
    EXPECT_NE(lstrcmpW(_T("a"), _T("A")), 0);
    EXPECT_EQ(Sign(lstrcmpW(_T("ab"), _T("a"))), 1);
    EXPECT_EQ(Sign(lstrcmpW(_T("é"), _T("f"))), -1);
    EXPECT_EQ(lstrcmpW(nullptr, nullptr), 0);
    EXPECT_EQ(lstrcmpW(nullptr, _T("")), -1);
    EXPECT_EQ(lstrcmpW(_T(""), nullptr), 1);
}

TEST(WideTextTest, CompareIgnoringCaseBeyondAscii)
{
    EXPECT_EQ(lstrcmpiW(_T("IPF.Contact"), _T("ipf.contact")), 0);
    EXPECT_EQ(lstrcmpiW(_T("Ärger"), _T("äRGER")), 0);
    EXPECT_EQ(lstrcmpiW(_T("ΣΟΦΙΑ"), _T("σοφια")), 0);
    EXPECT_EQ(lstrcmpiW(_T("Москва"), _T("МОСКВА")), 0);
    EXPECT_NE(lstrcmpiW(_T("resume"), _T("résumé")), 0);
    EXPECT_EQ(Sign(lstrcmpiW(_T("apple"), _T("Banana"))), -1);
    EXPECT_EQ(lstrcmpiW(nullptr, _T("x")), -1);
}

TEST(WideTextTest, CopyTruncatesAndTerminates)
{
    WCHAR buffer[6];
    EXPECT_EQ(lstrcpynW(buffer, _T("abcdefgh"), 6), buffer);
    EXPECT_EQ(CString(buffer), _T("abcde"));
    lstrcpynW(buffer, _T("xy"), 6);
    EXPECT_EQ(CString(buffer), _T("xy"));
    lstrcpynW(buffer, _T("zzz"), 1);
    EXPECT_EQ(buffer[0], 0);
    buffer[0] = _T('q');
    EXPECT_EQ(lstrcpynW(buffer, _T("zzz"), 0), buffer);
    EXPECT_EQ(buffer[0], _T('q'));
    EXPECT_EQ(lstrcpynW(nullptr, _T("a"), 4), nullptr);
    EXPECT_EQ(lstrcpynW(buffer, nullptr, 4), nullptr);
}

TEST(WideTextTest, BadStringPointers)
{
    EXPECT_TRUE(IsBadStringPtrW(nullptr, 10));
    EXPECT_TRUE(IsBadStringPtrA(nullptr, 10));
    EXPECT_TRUE(IsBadStringPtrW(reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(0x12)), 10));
    EXPECT_FALSE(IsBadStringPtrW(_T("text"), 10));
    EXPECT_FALSE(IsBadStringPtrA("text", static_cast<UINT_PTR>(-1)));
}
} // namespace
